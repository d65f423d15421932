#pragma once

// The base64 alphabet of UTF-7's shifted runs (RFC 2152: A-Z, a-z, 0-9, "+" and "/", no "="),
// shared by its decoder, its scorer and the table writer that closes its runs.

#include <array>
#include <cstdint>

namespace zelkora {

inline constexpr std::uint8_t kNotBase64 = 0xFF;

// The value of each byte in the alphabet, kNotBase64 for every other byte.
inline constexpr std::array<std::uint8_t, 256> kBase64Values = [] {
    std::array<std::uint8_t, 256> table{};
    table.fill(kNotBase64);
    constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::uint8_t value = 0; value < 64; ++value) {
        table[static_cast<std::uint8_t>(kAlphabet[value])] = value;
    }
    return table;
}();

constexpr bool IsBase64(std::uint8_t b) {
    return kBase64Values[b] != kNotBase64;
}

}  // namespace zelkora
