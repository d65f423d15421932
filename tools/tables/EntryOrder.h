#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace zelkora {

// Whether some one-byte code equals the low byte of some two-byte code. Codes to text tries
// every slot in file order with both a pair's value and its low byte, so such a one-byte code
// written first takes the low byte of the pair and leaves its high byte alone: the two-byte
// codes must come first.
[[nodiscard]] bool OneByteShadowsTwoByte(std::span<const std::uint32_t> oneByteCodes,
                                         std::span<const std::uint32_t> twoByteCodes);

// The header line of a table whose two-byte codes were put first for that reason.
inline constexpr std::u16string_view kTwoByteFirstNote =
    u"2 バイトのコードを 1 バイトのコードより前に書いています。コード→文字の変換で 2 "
    u"バイトのコードの下位バイトが 1 バイトのコードとして読まれないようにするためです。";

}  // namespace zelkora
