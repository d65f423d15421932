#include "engine/HexCode.h"

#include <array>

namespace zelkora {

namespace {

constexpr std::uint8_t kNotDigit = 0xFF;

// The value of each ASCII hex digit, kNotDigit for every other character. Codes mix digits and
// letters at random, so a lookup costs less than branching between the two.
constexpr std::array<std::uint8_t, 128> kDigitValues = [] {
    std::array<std::uint8_t, 128> values{};
    values.fill(kNotDigit);
    for (char16_t c = 0; c < values.size(); ++c) {
        if (IsHexDigit(c)) {
            values[c] = static_cast<std::uint8_t>(c <= u'9' ? c - u'0' : (c | 0x20) - u'a' + 10);
        }
    }
    return values;
}();

}  // namespace

std::optional<std::uint32_t> ParseHexCode(std::u16string_view digits) {
    std::uint64_t value = 0;
    for (const char16_t c : digits) {
        const std::uint8_t digit = c < kDigitValues.size() ? kDigitValues[c] : kNotDigit;
        if (digit == kNotDigit) {
            return std::nullopt;
        }
        value = value * 16 + digit;
        if (value > UINT32_MAX) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace zelkora
