#include "engine/CodeToText.h"

#include <cstdint>
#include <optional>

#include "engine/HexCode.h"
#include "engine/StringBuffer.h"
#include "engine/TextToCode.h"

namespace zelkora {

namespace {

using Index = CodeTable::Index;

// One element of the input and its value, read once (none when it cannot be read).
struct Element {
    std::u16string_view text;
    std::size_t offset = 0;  // where it starts in the input
    std::optional<std::uint32_t> value;
};

// Hands out the elements one by one: the text cut at every U+0020, so a run of n spaces gives
// n-1 empty elements and an empty text gives none.
class Elements {
public:
    explicit Elements(std::u16string_view text) : text_(text), done_(text.empty()) {}

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
    std::size_t pos_ = 0;
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
    char16_t digits[8];
    std::size_t count = 0;
    do {
        digits[7 - count++] = u"0123456789ABCDEF"[value % 16];
        value /= 16;
    } while (value != 0);
    AppendEcho(out, fEvenDigits(std::u16string_view(digits + 8 - count, count)));
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
    const std::uint32_t value = *element.value;

    if (isLast) {
        // All bits count, so only a one-byte entry of that same value can match.
        const std::int32_t slot = value <= 0xFF ? index.oneByte[value] : Index::kNone;
        if (slot == Index::kNone) {
            AppendUnmatched(out, value);
            noteUnmatched();
        } else {
            out.Append(table.Characters[slot]);
        }
        return false;
    }

    const auto pair = JoinedValue(next, element);
    const std::uint32_t byte = pair.value_or(value) & 0xFF;
    const std::int32_t oneByteSlot = index.oneByte[byte];
    const std::int32_t twoByteSlot = pair ? TwoByteSlot(index, *pair) : Index::kNone;
    // Both kinds compete in file order: a one-byte entry above a matching two-byte entry wins.
    if (twoByteSlot != Index::kNone && (oneByteSlot == Index::kNone || twoByteSlot < oneByteSlot)) {
        out.Append(table.Characters[twoByteSlot]);
        return true;
    }
    if (oneByteSlot != Index::kNone) {
        out.Append(table.Characters[oneByteSlot]);
    } else {
        AppendUnmatched(out, byte);
        noteUnmatched();
    }
    return false;
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
    Index scratch;
    const Index& index = table.CurrentIndex(scratch);

    StringBuffer out;
    Elements elements(codes);
    bool more = !elements.AtEnd();
    Element element = more ? elements.Take() : Element{};
    while (more) {
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

    std::u16string text = out.ToString();
    if (lineBreakOption) {
        ReplaceLineBreakTokens(text);
    }
    return text;
}

}  // namespace zelkora
