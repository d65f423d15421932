#pragma once

// The units EUC-JP is made of, which its scorer and its decoder both walk. Private to encoding/.

#include <cstddef>
#include <cstdint>
#include <span>

namespace zelkora {

enum class EucUnitKind : std::uint8_t {
    Ascii,    // a byte below 80
    Kana,     // 8E and a byte A1-DF: half-width katakana
    Jis0208,  // two bytes A1-FE
    Jis0212,  // 8F and two bytes A1-FE
    Invalid,  // any other byte of 80 or above, alone
};

struct EucUnit {
    EucUnitKind kind;
    std::size_t length;
};

constexpr bool IsEucByte(std::uint8_t b) {
    return b >= 0xA1 && b <= 0xFE;
}

// The unit that begins at `at`, which is inside bytes; a unit cut off by the end is invalid.
constexpr EucUnit EucUnitAt(std::span<const std::uint8_t> bytes, std::size_t at) {
    const std::uint8_t b = bytes[at];
    const auto next = [&](std::size_t k) -> std::uint8_t {
        return at + k < bytes.size() ? bytes[at + k] : 0;
    };
    if (b < 0x80) {
        return {EucUnitKind::Ascii, 1};
    }
    if (b == 0x8E && next(1) >= 0xA1 && next(1) <= 0xDF) {
        return {EucUnitKind::Kana, 2};
    }
    if (b == 0x8F && IsEucByte(next(1)) && IsEucByte(next(2))) {
        return {EucUnitKind::Jis0212, 3};
    }
    if (IsEucByte(b) && IsEucByte(next(1))) {
        return {EucUnitKind::Jis0208, 2};
    }
    return {EucUnitKind::Invalid, 1};
}

}  // namespace zelkora
