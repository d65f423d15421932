#include "binary/HitContext.h"

#include <array>
#include <cstdio>

#include "binary/TableBytes.h"

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
        std::array<char, 8> escape{};
        std::snprintf(escape.data(), escape.size(), c <= 0xFF ? "\\x%02X" : "\\u%04X",
                      static_cast<unsigned>(c));
        line.append(escape.begin(), escape.begin() + std::char_traits<char>::length(escape.data()));
    }
    return line;
}

}  // namespace zelkora
