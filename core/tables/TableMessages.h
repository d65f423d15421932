#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "core/tables/TableReader.h"

namespace zelkora {

// The window's messages about table files, in the language of its menus.

// The settings folder cannot be listed: the fixed message, then the folder and why.
[[nodiscard]] std::u16string ListingErrorMessage(const std::filesystem::path& folder,
                                                 std::error_code why);

// The checked table cannot be read and no earlier read of it stands in: the table's name (its
// menu caption) and why, the error the read gave.
[[nodiscard]] std::u16string TableReadErrorMessage(std::u16string_view name, std::error_code why);

}  // namespace zelkora
