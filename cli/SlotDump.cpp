#include "cli/SlotDump.h"

#include <unicode/utf16.h>

#include <string>

#include "core/engine/HexCode.h"

namespace zelkora::cli {
namespace {

// A surrogate can be shown only as half of a pair; a lone one is escaped.
bool IsLoneSurrogate(std::u16string_view text, std::size_t at) {
    const char16_t c = text[at];
    if (U16_IS_LEAD(c)) {
        return at + 1 >= text.size() || !U16_IS_TRAIL(text[at + 1]);
    }
    return U16_IS_TRAIL(c) && (at == 0 || !U16_IS_LEAD(text[at - 1]));
}

void AppendEscaped(std::u16string_view text, std::u16string& out) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char16_t c = text[at];
        if (c == u'\\') {
            out += u"\\\\";
        } else if (c == u'\r') {
            out += u"\\r";
        } else if (c == u'\n') {
            out += u"\\n";
        } else if (c == u'\t') {
            out += u"\\t";
        } else if (c <= 0x20 || c == 0x7F || IsLoneSurrogate(text, at)) {
            out += HexEscape(c);
        } else {
            out += c;
        }
    }
}

}  // namespace

std::u16string FormatSlots(const CodeTable& table) {
    std::u16string out;
    for (std::size_t slot = 0; slot < table.size(); ++slot) {
        if (table.CodeTexts(slot).empty() && table.Characters(slot).empty()) {
            continue;
        }
        const std::string line = std::to_string(slot + 1);
        out.append(line.begin(), line.end()).append(u"\t");
        AppendEscaped(table.CodeTexts(slot), out);
        out += u"\t" + HexDigits(static_cast<std::uint32_t>(table.Codes(slot))) + u"\t";
        AppendEscaped(table.Characters(slot), out);
        out += u'\n';
    }
    return out;
}

}  // namespace zelkora::cli
