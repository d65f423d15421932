#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/common/FileBytes.h"
#include "core/common/ProgramPaths.h"
#include "core/engine/CodeTable.h"

namespace zelkora::cli {

// The folders the window would use, the user's tables folder given its first tables as the
// window gives them. Nothing (after a message) when the executable cannot be found.
[[nodiscard]] std::optional<ProgramPaths> ProgramFolders();

// --paths: the layout, then the program's folder, setting.ini's and the tables', one
// "name<TAB>path" line each.
int PrintPaths();

// The table the window would use: the file named by "File" in setting.ini, else (no
// setting.ini, or no "File" in it) the first file listed in the tables folder. Nothing (after a
// message) when there is no such file, or when the tables folder does not list the file named.
[[nodiscard]] std::optional<std::filesystem::path> DefaultTablePath();

// Reads a table file of the kinds given; false (after a message naming the file and the reason)
// when it yields no table.
[[nodiscard]] bool LoadTable(const std::filesystem::path& path, CodeTable& table,
                             FileKinds kinds = FileKinds::Regular);

// Whether the file is the stream standard input reads: /dev/stdin, or the pipe given there.
[[nodiscard]] bool IsStandardInput(const std::filesystem::path& path);

}  // namespace zelkora::cli
