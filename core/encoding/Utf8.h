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

// Whether the bytes are strict UTF-8 throughout (no overlong form, surrogate or code point
// above U+10FFFF, as Utf8ToUtf16Strict takes) and hold at least one character beyond ASCII.
// One pass over the bytes, stopping at the first that is not UTF-8; nothing is allocated.
[[nodiscard]] bool IsUtf8BeyondAscii(std::string_view bytes);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
[[nodiscard]] std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace zelkora
