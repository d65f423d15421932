#include "core/engine/TextToCode.h"

#include <algorithm>

#include "core/engine/ConversionThreads.h"

namespace zelkora {

namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';
constexpr std::u16string_view kUnmatched = u"??";

// The number of characters WriteByteGroups writes for `length` digits (the "0" included).
// Written to compile without a branch: codes of two and four digits alternate unpredictably in
// ordinary text. From 4 digits on, a space stands between every two groups.
std::size_t ByteGroupsLength(std::size_t length) {
    const std::size_t spaces = length >= 4 ? (length - 1) / 2 : 0;
    return length + spaces;
}

// Writes the byte groups of `digits`, with a "0" in front when `padZero`, last group first, and
// returns the end. Short codes stay as they are. Group k holds the digits at positions 2k and
// 2k+1 of the padded text, so digits[2k - pad] and the one after it.
char16_t* WriteByteGroups(char16_t* out, std::u16string_view digits, bool padZero) {
    const std::size_t pad = padZero ? 1 : 0;
    const std::size_t length = digits.size() + pad;
    if (length < 4) {
        if (padZero) {
            *out++ = u'0';
        }
        return std::copy(digits.begin(), digits.end(), out);
    }
    for (std::size_t group = (length + 1) / 2; group-- > 1;) {
        const std::size_t first = 2 * group - pad;
        *out++ = digits[first];
        if (first + 1 < digits.size()) {
            *out++ = digits[first + 1];  // absent only for an odd count given without the pad
        }
        *out++ = u' ';
    }
    if (padZero) {
        *out++ = u'0';
        *out++ = digits[0];
    } else {
        *out++ = digits[0];
        *out++ = digits[1];
    }
    return out;
}

// Calls group(slot, start) for each group of the text in order: each character, or each CR LF
// pair (option on) and typed backslash-n, with its earliest slot (or kNone) and its offset.
template <typename Group>
void ForEachGroup(const CodeTable::Index& index, std::u16string_view text, bool lineBreakOption,
                  Group group) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t start = i;
        const char16_t c = text[i];
        const bool hasNext = i + 1 < text.size();
        // A typed backslash-n is the token whatever the option; CR LF only while it is on.
        if ((c == kCr && lineBreakOption && hasNext && text[i + 1] == kLf) ||
            (c == kLineBreakToken[0] && hasNext && text[i + 1] == kLineBreakToken[1])) {
            ++i;
            group(index.lineBreakToken, start);
        } else {
            group(index.byCharacter[c], start);
        }
    }
}

// The number of characters the codes of `text` take.
std::size_t CodesLength(const CodeTable& table, const CodeTable::Index& index,
                        std::u16string_view text, bool lineBreakOption) {
    using Index = CodeTable::Index;
    std::size_t length = 0;
    ForEachGroup(index, text, lineBreakOption, [&](std::int32_t slot, std::size_t) {
        const std::size_t digits = slot == Index::kNone ? 0 : table.CodeTexts(slot).size();
        length +=
            (slot == Index::kNone ? kUnmatched.size() : ByteGroupsLength(digits + digits % 2)) + 1;
    });
    return length;
}

// Writes the codes of `text` from `out` on; the offsets of its "??" groups, counted from `base`,
// go to `unmatched` when it is given.
void WriteCodes(const CodeTable& table, const CodeTable::Index& index, std::u16string_view text,
                bool lineBreakOption, char16_t* out, std::vector<std::size_t>* unmatched,
                std::size_t base) {
    ForEachGroup(index, text, lineBreakOption, [&](std::int32_t slot, std::size_t start) {
        if (slot == CodeTable::Index::kNone) {
            out = std::copy(kUnmatched.begin(), kUnmatched.end(), out);
            if (unmatched != nullptr) {
                unmatched->push_back(base + start);
            }
        } else {
            const std::u16string_view codeText = table.CodeTexts(slot);
            out = WriteByteGroups(out, codeText, codeText.size() % 2 == 1);
        }
        *out++ = u' ';
    });
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
    std::u16string notation(ByteGroupsLength(evenCodeText.size()), u'\0');
    WriteByteGroups(notation.data(), evenCodeText, false);
    return notation;
}

std::u16string fTextToCode(const CodeTable& table, std::u16string_view text, bool lineBreakOption,
                           std::vector<std::size_t>* unmatched) {
    const std::size_t cut =
        text.size() < kTwoThreadsFrom ? text.size() : TextCut(text, text.size() / 2);
    return TextToCodeCut(table, text, lineBreakOption, unmatched, cut);
}

std::size_t TextBeforeMore(std::u16string_view text) {
    const bool mayJoin = !text.empty() && (text.back() == kCr || text.back() == kLineBreakToken[0]);
    return text.size() - (mayJoin ? 1 : 0);
}

std::size_t TextCut(std::u16string_view text, std::size_t at) {
    while (at > 0 && at < text.size() &&
           (text[at - 1] == kCr || text[at - 1] == kLineBreakToken[0])) {
        ++at;
    }
    return std::min(at, text.size());
}

// Two passes over each part: the first sums the length of its codes, so the second writes into
// a result of exactly the size of both. Lookups are cheap; growing a result of megabytes,
// copying it and touching its memory twice is not.
std::u16string TextToCodeCut(const CodeTable& table, std::u16string_view text, bool lineBreakOption,
                             std::vector<std::size_t>* unmatched, std::size_t cut) {
    CodeTable::Index scratch;
    const CodeTable::Index& index = table.CurrentIndex(scratch);
    const std::u16string_view first = text.substr(0, cut);
    const std::u16string_view second = text.substr(cut);
    const bool parallel = !first.empty() && !second.empty();

    std::size_t firstLength = 0;
    std::size_t secondLength = 0;
    RunBoth(
        parallel, [&] { firstLength = CodesLength(table, index, first, lineBreakOption); },
        [&] { secondLength = CodesLength(table, index, second, lineBreakOption); });

    std::u16string codes(firstLength + secondLength, u'\0');
    RunBothListing(
        parallel, unmatched,
        [&](std::vector<std::size_t>* list) {
            WriteCodes(table, index, first, lineBreakOption, codes.data(), list, 0);
        },
        [&](std::vector<std::size_t>* list) {
            WriteCodes(table, index, second, lineBreakOption, codes.data() + firstLength, list,
                       cut);
        });
    return codes;
}

}  // namespace zelkora
