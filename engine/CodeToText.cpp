#include "engine/CodeToText.h"

#include <cstdint>
#include <optional>

#include "engine/StringBuffer.h"
#include "engine/TextToCode.h"

namespace zelkora {

namespace {

using Index = CodeTable::Index;

// Hands out the elements one by one: the text cut at every U+0020, so a run of n spaces gives
// n-1 empty elements and an empty text gives none.
class Elements {
public:
    explicit Elements(std::u16string_view text) : text_(text), done_(text.empty()) {}

    [[nodiscard]] bool AtEnd() const { return done_; }

    std::u16string_view Take() {
        std::size_t end = text_.find(u' ', pos_);
        if (end == std::u16string_view::npos) {
            end = text_.size();
            done_ = true;
        }
        const std::u16string_view element = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        return element;
    }

private:
    std::u16string_view text_;
    std::size_t pos_ = 0;
    bool done_;
};

std::optional<std::uint32_t> HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    return std::nullopt;
}

// Hexadecimal digits only, the value within 32 bits; leading zeros are allowed.
std::optional<std::uint32_t> ReadHex(std::u16string_view text) {
    std::uint64_t value = 0;
    for (const char16_t c : text) {
        const auto digit = HexDigit(c);
        if (!digit) {
            return std::nullopt;
        }
        value = value * 16 + *digit;
        if (value > UINT32_MAX) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(value);
}

// The value of the text `high` followed by the text `low` (whose value is `lowValue`), when it
// is readable and fits 32 bits. An empty `high` leaves `low` alone.
std::optional<std::uint32_t> JoinedValue(std::u16string_view high, std::u16string_view low,
                                         std::uint32_t lowValue) {
    const auto highValue = ReadHex(high);
    if (!highValue) {
        return std::nullopt;
    }
    if (*highValue == 0) {
        return lowValue;
    }
    if (low.size() >= 8) {
        return std::nullopt;  // a non-zero high part lands at bit 32 or beyond
    }
    const std::uint64_t joined = (std::uint64_t{*highValue} << (4 * low.size())) | lowValue;
    if (joined > UINT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(joined);
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
bool ConvertElement(const CodeTable& table, const Index& index, StringBuffer& out,
                    std::u16string_view element, bool isLast, std::u16string_view next) {
    const auto value = ReadHex(element);
    if (!value) {
        AppendEcho(out, element);
        return false;
    }

    if (isLast) {
        // All bits count, so only a one-byte entry of that same value can match.
        const std::int32_t slot = *value <= 0xFF ? index.oneByte[*value] : Index::kNone;
        if (slot == Index::kNone) {
            AppendUnmatched(out, *value);
        } else {
            out.Append(table.Characters[slot]);
        }
        return false;
    }

    const auto pair = JoinedValue(next, element, *value);
    const std::uint32_t byte = (pair ? *pair : *value) & 0xFF;
    const std::int32_t oneByteSlot = index.oneByte[byte];
    std::int32_t twoByteSlot = Index::kNone;
    if (pair) {
        const auto found = index.twoByte.find(static_cast<std::int32_t>(*pair));
        if (found != index.twoByte.end()) {
            twoByteSlot = found->second;
        }
    }
    // Both kinds compete in file order: a one-byte entry above a matching two-byte entry wins.
    if (twoByteSlot != Index::kNone && (oneByteSlot == Index::kNone || twoByteSlot < oneByteSlot)) {
        out.Append(table.Characters[twoByteSlot]);
        return true;
    }
    if (oneByteSlot != Index::kNone) {
        out.Append(table.Characters[oneByteSlot]);
    } else {
        AppendUnmatched(out, byte);
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

std::u16string fCodeToText(const CodeTable& table, std::u16string_view codes,
                           bool lineBreakOption) {
    Index scratch;
    const Index& index = table.CurrentIndex(scratch);

    StringBuffer out;
    Elements elements(codes);
    bool more = !elements.AtEnd();
    std::u16string_view element = more ? elements.Take() : std::u16string_view{};
    while (more) {
        const bool isLast = elements.AtEnd();
        const std::u16string_view next = isLast ? std::u16string_view{} : elements.Take();
        const bool usedNext =
            !element.empty() && ConvertElement(table, index, out, element, isLast, next);
        if (usedNext) {
            more = !elements.AtEnd();
            element = more ? elements.Take() : std::u16string_view{};
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
