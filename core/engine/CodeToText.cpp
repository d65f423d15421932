#include "core/engine/CodeToText.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "core/engine/ConversionThreads.h"
#include "core/engine/HexCode.h"
#include "core/engine/StringBuffer.h"
#include "core/engine/TextToCode.h"

namespace zelkora {

namespace {

using Index = CodeTable::Index;

// One element of the input and its value, read once (none when it cannot be read).
struct Element {
    std::u16string_view text;
    std::size_t offset = 0;  // where it starts in the input
    std::optional<std::uint32_t> value;
};

// Hands out the elements one by one, from the one that begins at `from` (0, or just after a
// space): the text cut at every U+0020, so a run of n spaces gives n-1 empty elements and an
// empty text gives none.
class Elements {
public:
    explicit Elements(std::u16string_view text, std::size_t from = 0)
        : text_(text), pos_(from), done_(text.empty()) {}

    [[nodiscard]] bool AtEnd() const { return done_; }

    Element Take() {
        std::size_t end = text_.find(u' ', pos_);
        if (end == std::u16string_view::npos) {
            end = text_.size();
            done_ = true;
        }
        const std::u16string_view text = text_.substr(pos_, end - pos_);
        const std::size_t offset = pos_;
        pos_ = end + 1;
        return {text, offset, ParseHexCode(text)};
    }

private:
    std::u16string_view text_;
    std::size_t pos_;
    bool done_;
};

// The value of the text of `high` followed by the text of `low`, when it is readable and fits
// 32 bits. An empty `high` reads as 0 and leaves `low` alone.
std::optional<std::uint32_t> JoinedValue(const Element& high, const Element& low) {
    if (!high.value) {
        return std::nullopt;
    }
    if (*high.value == 0) {
        return low.value;
    }
    if (low.text.size() >= 8) {
        return std::nullopt;  // a non-zero high part lands at bit 32 or beyond
    }
    const std::uint64_t joined = (std::uint64_t{*high.value} << (4 * low.text.size())) | *low.value;
    if (joined > UINT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(joined);
}

std::int32_t TwoByteSlot(const Index& index, std::uint32_t pair) {
    if (pair <= 0xFFFF) {
        return index.twoByte[pair];
    }
    const auto found = index.twoByteWide.find(static_cast<std::int32_t>(pair));
    return found == index.twoByteWide.end() ? Index::kNone : found->second;
}

void AppendEcho(StringBuffer& out, std::u16string_view text) {
    out.Append(u" ");
    out.Append(text);
    out.Append(u" ");
}

// An unmatched code is shown as its value in upper-case hexadecimal, evened to whole bytes.
void AppendUnmatched(StringBuffer& out, std::uint32_t value) {
    AppendEcho(out, fEvenDigits(HexDigits(value)));
}

// What an element that can be read converts to: the slot found (kNone for none), whether it
// uses the next element as its high byte, and its byte value, shown when no slot matched.
struct Match {
    std::int32_t slot;
    bool usesNext;
    std::uint32_t byte;
};

Match FindMatch(const Index& index, const Element& element, bool isLast, const Element& next) {
    const std::uint32_t value = *element.value;
    if (isLast) {
        // All bits count, so only a one-byte entry of that same value can match.
        return {value <= 0xFF ? index.oneByte[value] : Index::kNone, false, value};
    }
    const auto pair = JoinedValue(next, element);
    const std::uint32_t byte = pair.value_or(value) & 0xFF;
    const std::int32_t oneByteSlot = index.oneByte[byte];
    const std::int32_t twoByteSlot = pair ? TwoByteSlot(index, *pair) : Index::kNone;
    // Both kinds compete in file order: a one-byte entry above a matching two-byte entry wins.
    if (twoByteSlot != Index::kNone && (oneByteSlot == Index::kNone || twoByteSlot < oneByteSlot)) {
        return {twoByteSlot, true, byte};
    }
    return {oneByteSlot, false, byte};
}

// Converts one non-empty element; returns true when it used `next` as its high byte.
// An element that cannot be read is echoed as written and never takes a neighbour with it.
// Every element echoed is listed in `unmatched` when that is given.
bool ConvertElement(const CodeTable& table, const Index& index, StringBuffer& out,
                    const Element& element, bool isLast, const Element& next,
                    std::vector<std::size_t>* unmatched) {
    const auto noteUnmatched = [&] {
        if (unmatched != nullptr) {
            unmatched->push_back(element.offset);
        }
    };
    if (!element.value) {
        AppendEcho(out, element.text);
        noteUnmatched();
        return false;
    }
    const Match match = FindMatch(index, element, isLast, next);
    if (match.slot == Index::kNone) {
        AppendUnmatched(out, match.byte);
        noteUnmatched();
    } else {
        out.Append(table.Characters(match.slot));
    }
    return match.usesNext;
}

// Converts the elements that begin at `from` (where no element before uses the one there) and
// after, up to `to`. The last of them may look at the element after it, and use it. The buffer
// is the caller's thread's own: two threads updating buffers side by side would slow both.
std::u16string ConvertElements(const CodeTable& table, const Index& index,
                               std::u16string_view codes, std::size_t from, std::size_t to,
                               std::vector<std::size_t>* unmatched) {
    StringBuffer out;
    Elements elements(codes, from);
    bool more = !elements.AtEnd();
    Element element = more ? elements.Take() : Element{};
    while (more && element.offset < to) {
        const bool isLast = elements.AtEnd();
        const Element next = isLast ? Element{} : elements.Take();
        const bool usedNext = !element.text.empty() &&
                              ConvertElement(table, index, out, element, isLast, next, unmatched);
        if (usedNext) {
            more = !elements.AtEnd();
            element = more ? elements.Take() : Element{};
        } else {
            more = !isLast;
            element = next;
        }
    }
    return out.ToString();
}

// Works on the joined result, so a backslash from one entry and an n from the next count too.
// The replacement is as long as the token, so it is done in place.
void ReplaceLineBreakTokens(std::u16string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == kLineBreakToken[0] && text[i + 1] == kLineBreakToken[1]) {
            text[i] = u'\r';
            text[++i] = u'\n';
        }
    }
}

}  // namespace

std::u16string fCodeToText(const CodeTable& table, std::u16string_view codes, bool lineBreakOption,
                           std::vector<std::size_t>* unmatched) {
    const std::size_t cut =
        codes.size() < kTwoThreadsFrom ? codes.size() : CodesCut(table, codes, codes.size() / 2);
    return CodeToTextCut(table, codes, lineBreakOption, unmatched, cut);
}

std::size_t CodesCut(const CodeTable& table, std::u16string_view codes, std::size_t at) {
    Index scratch;
    const Index& index = table.CurrentIndex(scratch);
    const std::size_t space = codes.find(u' ', at);
    if (space == std::u16string_view::npos) {
        return codes.size();
    }
    const std::size_t start = space == 0 ? 0 : codes.rfind(u' ', space - 1) + 1;  // npos + 1 is 0
    Elements elements(codes, start);
    Element element = elements.Take();
    while (!elements.AtEnd()) {
        const Element next = elements.Take();
        if (element.text.empty() || !element.value ||
            !FindMatch(index, element, false, next).usesNext) {
            return next.offset;
        }
        element = next;
    }
    return codes.size();
}

namespace {

// The elements that begin before `end` (a place CodesCut gave, or codes.size()), the last of them
// looking at the element at `end`; those from `cut` on converted on a thread of their own.
// Line-break tokens are left for the caller: one may span two parts.
std::u16string ConvertElementsBefore(const CodeTable& table, std::u16string_view codes,
                                     std::size_t end, std::size_t cut,
                                     std::vector<std::size_t>* unmatched) {
    Index scratch;
    const Index& index = table.CurrentIndex(scratch);
    cut = std::min(cut, end);
    std::u16string text;
    std::u16string rest;
    RunBothListing(
        cut > 0 && cut < end, unmatched,
        [&](std::vector<std::size_t>* list) {
            text = ConvertElements(table, index, codes, 0, cut, list);
        },
        [&](std::vector<std::size_t>* list) {
            if (cut < end) {
                rest = ConvertElements(table, index, codes, cut, end, list);
            }
        });
    text += rest;
    return text;
}

}  // namespace

std::u16string CodeToTextCut(const CodeTable& table, std::u16string_view codes,
                             bool lineBreakOption, std::vector<std::size_t>* unmatched,
                             std::size_t cut) {
    std::u16string text = ConvertElementsBefore(table, codes, codes.size(), cut, unmatched);
    if (lineBreakOption) {
        ReplaceLineBreakTokens(text);
    }
    return text;
}

std::size_t CodeToTextStream::Convert(std::u16string_view codes, bool last, std::u16string& text,
                                      std::vector<std::size_t>* unmatched) {
    // A cut is looked for near the end, so that little waits for the next piece; elements that
    // chain (each taking the next as its high byte) may push it further back.
    constexpr std::size_t kLookBack = std::size_t{1} << 12;
    std::u16string_view complete = codes;
    std::size_t taken = codes.size();
    if (!last) {
        // The element after the last space may go on in the next piece.
        const std::size_t lastSpace = codes.rfind(u' ');
        if (lastSpace == std::u16string_view::npos) {
            return 0;
        }
        complete = codes.substr(0, lastSpace);
        taken = CodesCut(*table_, complete, complete.size() - std::min(complete.size(), kLookBack));
        if (taken == complete.size()) {
            taken = CodesCut(*table_, complete, 0);
        }
        if (taken == complete.size()) {
            return 0;
        }
    }
    const std::size_t cut =
        taken < kTwoThreadsFrom ? taken : CodesCut(*table_, complete, taken / 2);
    std::u16string part = ConvertElementsBefore(*table_, complete, taken, cut, unmatched);
    if (lineBreakOption_) {
        if (heldBackslash_) {
            part.insert(part.begin(), kLineBreakToken[0]);
        }
        ReplaceLineBreakTokens(part);
        // A backslash at the end may yet meet an n at the start of the next part.
        heldBackslash_ = !last && !part.empty() && part.back() == kLineBreakToken[0];
        if (heldBackslash_) {
            part.pop_back();
        }
    }
    text += part;
    return taken;
}

}  // namespace zelkora
