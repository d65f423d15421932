#pragma once

#include <string>
#include <string_view>

namespace zelkora {

// File names are raw bytes on Linux and need not be UTF-8. These two map them to text and
// back without loss: each byte that is not part of valid UTF-8 becomes the lone surrogate
// U+DC80..U+DCFF, which the reverse turns back into that byte (other lone surrogates, which
// no file name gives, become U+FFFD).
[[nodiscard]] std::u16string FileNameToText(std::string_view raw);
[[nodiscard]] std::string TextToFileName(std::u16string_view text);

}  // namespace zelkora
