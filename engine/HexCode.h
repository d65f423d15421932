#pragma once

// The one reading of a hexadecimal code, as table files and typed codes write it.

#include <cstdint>
#include <optional>
#include <string_view>

namespace zelkora {

// ASCII digits and a-f in either case: full-width forms are text, not codes.
[[nodiscard]] constexpr bool IsHexDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// Hexadecimal digits only, leading zeros allowed, the value within 32 bits; nothing for any
// other text. The empty text reads as 0.
[[nodiscard]] std::optional<std::uint32_t> ParseHexCode(std::u16string_view digits);

}  // namespace zelkora
