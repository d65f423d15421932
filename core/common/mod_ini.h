#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

#include "core/common/Result.h"

namespace zelkora {

// Profile-style INI access over a UTF-8 file. Section and key names match case-insensitively,
// spaces around keys and values are trimmed, a value in matching double quotes is unquoted.
// Nothing is cached: every call reads or rewrites the file.

// Leading decimal digits with an optional minus ("5abc" is 5, "abc" is 0, "" is 0); missing
// gives the default. Values beyond the int32 range saturate at its limits.
[[nodiscard]] std::int32_t GetIniInt(std::u16string_view section, std::u16string_view key,
                                     std::int32_t defaultValue, const std::filesystem::path& file);

// Note the order: file before default. Values are cut at 32766 characters.
[[nodiscard]] std::u16string GetIniString(std::u16string_view section, std::u16string_view key,
                                          const std::filesystem::path& file,
                                          std::u16string_view defaultValue);

// Creates file, section and key as needed and keeps every other line as it was. The file is
// replaced atomically (temporary file beside it, then rename) under a lock on its folder, so
// programs writing at the same time never lose each other's keys, and a temporary file left by
// a killed writer is removed. False, with the old file left whole, when it cannot be written
// (a read-only file included), when a name or the value cannot stand on one line (CR, LF or
// U+0000 anywhere, "=" in the key, "]" in the section, an empty key), or when a name could not
// be read back (a blank at either end, ";" or "#" first, or "[" first in a key). The reason is
// the system's error, or invalid_argument for such a name or value.
[[nodiscard]] Result<> WriteIniString(std::u16string_view section, std::u16string_view key,
                                      std::u16string_view value, const std::filesystem::path& file);

struct IniEntry {
    std::u16string_view key;
    std::u16string_view value;
};

// Several keys in one replacement of the file, as WriteIniString writes one: whoever reads the
// file, or writes it at the same moment, sees all of them or none. Writing everything a
// program saves on closing in one call keeps two programs closing at once from leaving a mix
// of their values. Nothing is written when any entry cannot be.
[[nodiscard]] Result<> WriteIniStrings(std::u16string_view section,
                                       std::span<const IniEntry> entries,
                                       const std::filesystem::path& file);

}  // namespace zelkora
