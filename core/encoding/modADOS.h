#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zelkora {

// Decodes a whole file's bytes with the named charset ("ISO-2022-JP", "EUC-JP", "UTF-7",
// "UTF-8"; names are matched ignoring case, and any other name ICU knows works too).
// ISO-2022-JP and EUC-JP use the Windows-31J mapping of FromShiftJIS, so a text decodes alike
// from all three; UTF-7 is read leniently (a raw "\" or "~" stands for itself); UTF-8 keeps a
// leading U+FEFF. Invalid bytes become U+FFFD and decoding goes on; a charset that cannot be
// opened gives the empty text. When substitutions is given, it receives how many
// substitutions were made.
[[nodiscard]] std::u16string DecodeWithCharset(std::string_view charset,
                                               std::span<const std::uint8_t> bytes,
                                               std::size_t* substitutions = nullptr);

// One charset each, by the design's names; the reader itself decodes through DecodeWithCharset.
[[nodiscard]] std::u16string FromISO2022JP(std::span<const std::uint8_t> bytes);
[[nodiscard]] std::u16string FromEUCJP(std::span<const std::uint8_t> bytes);
[[nodiscard]] std::u16string FromUTF7(std::span<const std::uint8_t> bytes);
[[nodiscard]] std::u16string FromUTF8(std::span<const std::uint8_t> bytes);

// The two decodings the table reader does without a charset converter name of the file's own:
// Shift_JIS as Windows-31J (0x5C stays a backslash), and UTF-16LE with FF FE dropped. The
// UTF-16LE bytes are taken as code units as they stand: unpaired surrogates stay, a lone last
// byte is ignored, and nothing is ever substituted.
[[nodiscard]] std::u16string FromShiftJIS(std::span<const std::uint8_t> bytes,
                                          std::size_t* substitutions = nullptr);
[[nodiscard]] std::u16string FromUTF16LE(std::span<const std::uint8_t> bytes);

}  // namespace zelkora
