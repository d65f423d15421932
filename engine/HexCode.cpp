#include "engine/HexCode.h"

namespace zelkora {

std::optional<std::uint32_t> ParseHexCode(std::u16string_view digits) {
    std::uint64_t value = 0;
    for (const char16_t c : digits) {
        if (!IsHexDigit(c)) {
            return std::nullopt;
        }
        const unsigned digit = c <= u'9' ? c - u'0' : (c | 0x20) - u'a' + 10;
        value = value * 16 + digit;
        if (value > UINT32_MAX) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace zelkora
