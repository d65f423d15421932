#pragma once

// Helpers shared by the fuzz targets: how raw fuzz bytes become the program's inputs.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

namespace zelkora::fuzz {

// Bytes taken as UTF-16LE code units, so every code unit a text box can hold is reachable,
// lone surrogates and U+0000 included. An odd last byte is dropped.
inline std::u16string Utf16Units(std::span<const std::uint8_t> bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
    return text;
}

// The first occurrence of `marker` splits the bytes in two; without it all is the first part.
struct Split {
    std::span<const std::uint8_t> first;
    std::span<const std::uint8_t> second;
};

inline Split SplitAt(std::span<const std::uint8_t> bytes, std::string_view marker) {
    const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::size_t at = all.find(marker);
    if (at == std::string_view::npos) {
        return {bytes, {}};
    }
    return {bytes.first(at), bytes.subspan(at + marker.size())};
}

// A broken property is a finding as much as a crash: abort so the fuzzer keeps the input.
inline void Require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

}  // namespace zelkora::fuzz
