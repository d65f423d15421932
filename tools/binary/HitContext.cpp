#include "tools/binary/HitContext.h"

#include "core/engine/HexCode.h"
#include "tools/binary/TableBytes.h"

namespace zelkora {
namespace {

bool BreaksALine(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

}  // namespace

std::u16string ContextText(const CodeTable& table, const ByteHit& hit) {
    return OnOneLine(BytesToText(table, hit.before, false) + BytesToText(table, hit.match, false) +
                     BytesToText(table, hit.after, false));
}

std::u16string OnOneLine(std::u16string_view text) {
    std::u16string line;
    line.reserve(text.size());
    for (const char16_t c : text) {
        if (!BreaksALine(c)) {
            line.push_back(c);
            continue;
        }
        line += HexEscape(c);
    }
    return line;
}

}  // namespace zelkora
