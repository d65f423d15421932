#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zelkora {

// Strict UTF-8 to UTF-16 (for text on stdin). On invalid input gives nothing and, when
// badOffset is given, the byte offset of the first invalid byte.
[[nodiscard]] std::optional<std::u16string> Utf8ToUtf16Strict(std::string_view utf8,
                                                              std::size_t* badOffset = nullptr);

// The same, appended to `text`; false (and `text` as it was) when the bytes are not strict UTF-8.
[[nodiscard]] bool AppendUtf8AsUtf16(std::string_view utf8, std::u16string& text,
                                     std::size_t* badOffset = nullptr);

// The bytes up to an incomplete sequence at their end, one that more bytes may complete: what
// can be decoded of a block read from a longer text.
[[nodiscard]] std::size_t CompleteUtf8Length(std::string_view utf8);

// Whether the bytes are strict UTF-8 throughout (no overlong form, surrogate or code point
// above U+10FFFF, as Utf8ToUtf16Strict takes) and hold at least one character beyond ASCII.
// One pass over the bytes, stopping at the first that is not UTF-8; nothing is allocated.
[[nodiscard]] bool IsUtf8BeyondAscii(std::string_view bytes);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
[[nodiscard]] std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace zelkora
