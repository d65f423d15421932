#include "engine/TextToCode.h"

namespace zelkora {

namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';

// Appends the byte groups of `digits`, with a "0" in front when `padZero`, last group first.
// Short codes stay as they are. Writing straight into `out` keeps a long conversion free of a
// temporary string per character.
void AppendByteGroups(std::u16string& out, std::u16string_view digits, bool padZero) {
    const std::size_t length = digits.size() + (padZero ? 1 : 0);
    const auto at = [&](std::size_t j) {
        if (padZero) {
            return j == 0 ? u'0' : digits[j - 1];
        }
        return digits[j];
    };
    if (length < 4) {
        for (std::size_t j = 0; j < length; ++j) {
            out.push_back(at(j));
        }
        return;
    }
    for (std::size_t group = (length + 1) / 2; group-- > 0;) {
        out.push_back(at(2 * group));
        if (2 * group + 1 < length) {
            out.push_back(at(2 * group + 1));
        }
        if (group > 0) {
            out.push_back(u' ');
        }
    }
}

}  // namespace

std::u16string fEvenDigits(std::u16string_view codeText) {
    std::u16string even;
    if (codeText.size() % 2 == 1) {
        even.push_back(u'0');
    }
    even.append(codeText);
    return even;
}

std::u16string fReverseBytes(std::u16string_view evenCodeText) {
    std::u16string notation;
    AppendByteGroups(notation, evenCodeText, false);
    return notation;
}

std::u16string fTextToCode(const CodeTable& table, std::u16string_view text, bool lineBreakOption,
                           std::vector<std::size_t>* unmatched) {
    CodeTable::Index scratch;
    const CodeTable::Index& index = table.CurrentIndex(scratch);

    std::u16string codes;
    codes.reserve(text.size() * 3);  // "41 " per character is the common case
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t start = i;
        const char16_t c = text[i];
        const bool hasNext = i + 1 < text.size();
        std::int32_t slot;
        // A typed backslash-n is the token whatever the option; CR LF only while it is on.
        if ((c == kCr && lineBreakOption && hasNext && text[i + 1] == kLf) ||
            (c == kLineBreakToken[0] && hasNext && text[i + 1] == kLineBreakToken[1])) {
            slot = index.lineBreakToken;
            ++i;
        } else {
            slot = index.byCharacter[c];
        }
        if (slot == CodeTable::Index::kNone) {
            codes.append(u"??");
            if (unmatched != nullptr) {
                unmatched->push_back(start);
            }
        } else {
            const std::u16string& codeText = table.CodeTexts[slot];
            AppendByteGroups(codes, codeText, codeText.size() % 2 == 1);
        }
        codes.push_back(u' ');
    }
    return codes;
}

}  // namespace zelkora
