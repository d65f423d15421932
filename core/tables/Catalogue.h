#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/common/Result.h"

namespace zelkora {

// Order of table names: ordinal and case-insensitive on upper-cased UTF-16 code units (as the
// Windows file system lists them), ties broken case-sensitively. Names are raw bytes.
[[nodiscard]] bool CatalogueLess(std::string_view a, std::string_view b);

// The files (not folders) directly inside settingsDir, raw names in catalogue order, leaving
// out names that begin with "." or end with "~": editors keep swap, lock and backup files
// beside the file being edited. Nothing when the folder cannot be listed (missing, not a
// folder, unreadable).
[[nodiscard]] Result<std::vector<std::string>> ListTableFiles(
    const std::filesystem::path& settingsDir);

// The table the program uses: the listed name equal to fileValue (the INI key "File",
// compared exactly as text), else the first listed; nothing when none is listed.
[[nodiscard]] std::optional<std::string> ChooseTable(const std::vector<std::string>& names,
                                                     std::u16string_view fileValue);

}  // namespace zelkora
