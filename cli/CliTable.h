#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "engine/CodeTable.h"

namespace zelkora::cli {

// The table the window would use: the file named by "File" in setting.ini beside the
// executable, else (no setting.ini, or no "File" in it) the first file listed in settings/
// beside it. Nothing (after a message) when there is no such file, or when settings/ does not
// list the file named.
[[nodiscard]] std::optional<std::filesystem::path> DefaultTablePath();

// Reads a table file; false (after a message naming the file and the reason) when it yields
// no table.
[[nodiscard]] bool LoadTable(const std::filesystem::path& path, CodeTable& table);

// Why a file cannot be read, for messages: "No such file or directory", "it is a folder"...
[[nodiscard]] std::string WhyUnreadable(const std::filesystem::path& path);

}  // namespace zelkora::cli
