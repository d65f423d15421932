#include "tools/common/QuoteText.h"

#include "core/encoding/Utf8.h"
#include "core/engine/HexCode.h"

namespace zelkora {

// Each stretch between two escapes is converted whole, never a unit at a time, so that a
// surrogate pair comes out as its character rather than as two U+FFFD.
std::string QuoteText(std::u16string_view text) {
    std::string out = "\"";
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] >= 0x20 && text[i] != 0x7F) {
            continue;
        }
        out += Utf16ToUtf8(text.substr(start, i - start));
        if (i < text.size()) {
            out += Utf16ToUtf8(HexEscape(text[i]));
        }
        start = i + 1;
    }
    return out + "\"";
}

}  // namespace zelkora
