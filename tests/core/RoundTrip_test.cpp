// Text converted to codes and back comes out unchanged for tables whose codes can be told apart.

#include <random>
#include <set>

#include <gtest/gtest.h>

#include "core/engine/CodeToText.h"
#include "core/engine/TextToCode.h"
#include "tests/core/EngineTable.h"

namespace zelkora {
namespace {

// One-byte codes stay below 0x80 and two-byte codes have a low byte of 0x80 or more: a one-byte
// code followed by any byte can then never read as a two-byte entry, and the low byte of a
// two-byte code never as a one-byte entry. Codes have at most four digits, in either case.
class RoundTripTables {
public:
    CodeTable Table() {
        CodeTable table;
        std::set<std::uint32_t> oneByte;
        std::set<std::uint32_t> twoByte;
        for (std::size_t slots = 1 + Below(60); slots > 0; --slots) {
            if (Below(8) == 0) {
                test::AddLine(table, {});  // not an entry
                continue;
            }
            const bool wide = Below(2) == 0;
            const auto value = static_cast<std::uint32_t>(
                wide ? Below(0x100) << 8 | (0x80 + Below(0x80)) : Below(0x80));
            if (!(wide ? twoByte : oneByte).insert(value).second) {
                continue;  // a second entry with the same code could never come back
            }
            // A one-byte code fitting one digit may be written with one; a two-byte code with
            // a high byte below 0x10 may be written with three digits.
            const std::size_t minimum = wide ? (value < 0x1000 ? 3 : 4) : (value < 0x10 ? 1 : 2);
            const std::size_t digits = minimum + Below((wide ? 5 : 3) - minimum);
            Store(table, Hex(value, digits), oneByte.size() == 1 && !wide);
        }
        table.BuildIndex();
        return table;
    }

    // Characters picked among the entries; the line-break token is typed as CR LF.
    std::u16string Text(const CodeTable& table) {
        std::u16string text;
        for (std::size_t count = Below(40); count > 0 && table.size() > 0; --count) {
            const std::u16string_view character = table.Characters(Below(table.size()));
            text += character == kLineBreakToken ? u"\r\n" : character;
        }
        return text;
    }

private:
    std::size_t Below(std::size_t n) { return random_() % n; }

    std::u16string Hex(std::uint32_t value, std::size_t digits) {
        std::u16string text(digits, u'0');
        for (std::size_t i = digits; i-- > 0; value /= 16) {
            const std::u16string_view alphabet =
                Below(2) == 0 ? u"0123456789ABCDEF" : u"0123456789abcdef";
            text[i] = alphabet[value % 16];
        }
        return text;
    }

    // The first one-byte entry stands for a line break; the others for CJK characters or
    // letters other than n, so no backslash-n forms in the joined result.
    void Store(CodeTable& table, const std::u16string& code, bool lineBreak) {
        std::u16string character(
            1, static_cast<char16_t>(Below(2) == 0 ? 0x4E00 + Below(0x100) : u'o' + Below(10)));
        test::AddLine(table, {code, lineBreak ? kLineBreakToken : std::u16string_view(character)});
    }

    std::mt19937 random_{20240612};
};

TEST(RoundTrip, TextComesBackFromItsCodes) {
    RoundTripTables random;
    for (int round = 0; round < 500; ++round) {
        const CodeTable table = random.Table();
        for (int input = 0; input < 5; ++input) {
            const std::u16string text = random.Text(table);
            const std::u16string codes = fTextToCode(table, text, true);
            ASSERT_EQ(fCodeToText(table, codes, true), text)
                << "codes " << testing::PrintToString(codes);
        }
    }
}

}  // namespace
}  // namespace zelkora
