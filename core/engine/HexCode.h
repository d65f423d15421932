#pragma once

// The one reading and writing of hexadecimal codes, as table files and typed codes write them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelkora {

// ASCII digits and a-f in either case: full-width forms are text, not codes.
[[nodiscard]] constexpr bool IsHexDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

namespace detail {

inline constexpr std::uint8_t kNotDigit = 0xFF;

// The value of each ASCII hex digit, kNotDigit for every other character. Codes mix digits and
// letters at random, so a lookup costs less than branching between the two.
inline constexpr std::array<std::uint8_t, 128> kDigitValues = [] {
    std::array<std::uint8_t, 128> values{};
    values.fill(kNotDigit);
    for (char16_t c = 0; c < values.size(); ++c) {
        if (IsHexDigit(c)) {
            values[c] = static_cast<std::uint8_t>(c <= u'9' ? c - u'0' : (c | 0x20) - u'a' + 10);
        }
    }
    return values;
}();

}  // namespace detail

// Hexadecimal digits only, leading zeros allowed, the value within 32 bits; nothing for any
// other text. The empty text reads as 0. Inline: codes to text reads every element with it.
[[nodiscard]] inline std::optional<std::uint32_t> ParseHexCode(std::u16string_view digits) {
    std::uint64_t value = 0;
    for (const char16_t c : digits) {
        const std::uint8_t digit =
            c < detail::kDigitValues.size() ? detail::kDigitValues[c] : detail::kNotDigit;
        if (digit == detail::kNotDigit) {
            return std::nullopt;
        }
        value = value * 16 + digit;
        if (value > UINT32_MAX) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(value);
}

// Writes the value in upper-case hexadecimal, at least `width` digits (zeros in front; `width`
// at most 16), and returns the end. Inline: raw bytes are written as codes with it, a byte at a
// time.
inline char16_t* WriteHexDigits(char16_t* out, std::uint64_t value, std::size_t width) {
    std::size_t digits = 1;
    while (digits < 16 && value >> (4 * digits) != 0) {
        ++digits;
    }
    digits = digits < width ? width : digits;
    for (std::size_t i = digits; i-- > 0; value >>= 4) {
        out[i] = u"0123456789ABCDEF"[value & 0xF];
    }
    return out + digits;
}

[[nodiscard]] inline std::u16string HexDigits(std::uint64_t value, std::size_t width = 1) {
    char16_t digits[16];
    return {digits, WriteHexDigits(digits, value, width < 16 ? width : 16)};
}

// A code unit that cannot be shown as itself: "\xHH" up to FF, "\uHHHH" above.
[[nodiscard]] inline std::u16string HexEscape(char16_t c) {
    return (c <= 0xFF ? u"\\x" : u"\\u") + HexDigits(c, c <= 0xFF ? 2 : 4);
}

}  // namespace zelkora
