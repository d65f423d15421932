#pragma once

// EUC-JP and ISO-2022-JP with the Windows mapping. Private to encoding/.
//
// Both are rearranged into Windows-31J bytes and decoded by the same converter as Shift_JIS, so
// one text stored in any of the three decodes identically: the wave dash 0xA1C1 is U+FF5E as in
// Shift_JIS, NEC row 13 is present, and 0x5C is a backslash even under ESC ( J. JIS X 0212,
// which Windows-31J lacks, is decoded by ICU's EUC-JP table.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace zelkora {

// Invalid sequences become U+FFFD and are counted in substitutions (when given); the empty text
// when a converter cannot be opened.
[[nodiscard]] std::u16string DecodeEucJp(std::span<const std::uint8_t> bytes,
                                         std::size_t* substitutions);

// Designations ESC ( B, ESC ( J, ESC ( I, ESC $ @, ESC $ B and ESC $ ( D. Controls and the
// space stand for themselves whatever set is designated, so a line end inside a two-byte
// stretch survives; an unknown escape is one substitution.
[[nodiscard]] std::u16string DecodeIso2022Jp(std::span<const std::uint8_t> bytes,
                                             std::size_t* substitutions);

}  // namespace zelkora
