#pragma once

#include <string>
#include <string_view>

namespace zelkora {

// Cuts the text into groups of two counted from its end: "12345" -> "1 23 45".
[[nodiscard]] std::u16string fSplitPairs(std::u16string_view text);

// The spacing rule: an input longer than 2 characters with no U+0020 anywhere gets spaced.
[[nodiscard]] bool NeedsSpacing(std::u16string_view input);

// The automatic mode's decision: does the first non-space character (lower-cased) read as a
// hexadecimal digit? Empty input is text.
[[nodiscard]] bool LooksLikeCodes(std::u16string_view input);

}  // namespace zelkora
