#pragma once

#include <string>
#include <string_view>

namespace zelkora {

// A text quoted for a message, in UTF-8, with control characters as escapes ("\x0D"), so that a
// real line end is not taken for the two-character line-break token. A character outside the
// BMP is shown as itself.
[[nodiscard]] std::string QuoteText(std::u16string_view text);

}  // namespace zelkora
