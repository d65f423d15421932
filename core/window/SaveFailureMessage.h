#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace zelkora {

// What the window tells the user, in Japanese, when it closes and setting.ini cannot be
// written: that the settings were not saved, the file's path, and why.
[[nodiscard]] std::u16string SaveFailureMessage(const std::filesystem::path& file,
                                                std::error_code why);

// The same for standard error, when the program is ended by the system and no one may be there
// to read a message box: one line, the file's path and the system's reason, for a log.
[[nodiscard]] std::string SaveFailureLine(const std::filesystem::path& file, std::error_code why);

}  // namespace zelkora
