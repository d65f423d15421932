// The indexed lookups against a plain scan of the slots from slot 0, over random tables.

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "core/engine/CodeToText.h"
#include "core/engine/HexCode.h"
#include "core/engine/TextToCode.h"
#include "tests/core/EngineTable.h"

namespace zelkora {
namespace {

std::u16string ReferenceTextToCode(const CodeTable& table, std::u16string_view text,
                                   bool lineBreakOption) {
    std::u16string codes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::u16string key(1, text[i]);
        const std::u16string_view two = text.substr(i, 2);
        if ((lineBreakOption && two == u"\r\n") || two == u"\\n") {
            key = u"\\n";
            ++i;
        }
        std::size_t slot = 0;
        while (slot < table.size() && table.Characters(slot) != key) {
            ++slot;
        }
        if (slot == table.size()) {
            codes += u"??";
        } else {
            codes += fReverseBytes(fEvenDigits(table.CodeTexts(slot)));
        }
        codes += u' ';
    }
    return codes;
}

std::vector<std::u16string> Split(std::u16string_view codes) {
    std::vector<std::u16string> elements;
    if (codes.empty()) {
        return elements;
    }
    elements.emplace_back();
    for (const char16_t c : codes) {
        if (c == u' ') {
            elements.emplace_back();
        } else {
            elements.back() += c;
        }
    }
    return elements;
}

std::u16string UpperHex(std::uint32_t value) {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%X", value);
    return std::u16string(digits, digits + std::char_traits<char>::length(digits));
}

std::u16string ReferenceCodeToText(const CodeTable& table, std::u16string_view codes,
                                   bool lineBreakOption) {
    const std::vector<std::u16string> e = Split(codes);
    std::u16string text;
    for (std::size_t k = 0; k < e.size(); ++k) {
        if (e[k].empty()) {
            continue;
        }
        const auto value = ParseHexCode(e[k]);
        if (!value) {
            text += u" " + e[k] + u" ";
            continue;
        }
        const bool last = k + 1 == e.size();
        std::optional<std::uint32_t> pair;
        if (!last) {
            pair = ParseHexCode(e[k + 1] + e[k]);
        }
        const std::uint32_t byte = last ? *value : pair.value_or(*value) & 0xFF;
        bool matched = false;
        for (std::size_t i = 0; i < table.size() && !matched; ++i) {
            const std::size_t width = table.CodeTexts(i).size();
            const bool oneByte =
                width >= 1 && width <= 2 && table.Codes(i) == static_cast<std::int32_t>(byte);
            const bool twoByte =
                width >= 3 && pair && table.Codes(i) == static_cast<std::int32_t>(*pair);
            if (oneByte || twoByte) {
                text += table.Characters(i);
                matched = true;
                k += twoByte ? 1 : 0;
            }
        }
        if (!matched) {
            text += u" " + fEvenDigits(UpperHex(byte)) + u" ";
        }
    }
    for (auto at = text.find(u"\\n"); lineBreakOption && at != text.npos;
         at = text.find(u"\\n", at + 2)) {
        text.replace(at, 2, u"\r\n");
    }
    return text;
}

// Few digits and characters, so that duplicates, one-byte against two-byte entries and joined
// pairs meet often.
class RandomTables {
public:
    CodeTable Table() {
        CodeTable table;
        for (std::size_t slots = Below(30); slots > 0; --slots) {
            if (Below(10) == 0) {
                test::AddLine(table, {});  // not an entry
                continue;
            }
            constexpr std::u16string_view kCharacters[] = {
                u"A", u"B", u"\\", u"n", u"\r", u"\n", u"\\n", u"AB", u"", u"あ", u" "};
            // Codes that collide: same value written twice, wide values, the one-byte 41 beside
            // the two-byte 0041.
            constexpr std::u16string_view kCollisions[] = {
                u"10000", u"010000", u"AAAAAAAA", u"aaaaaaaa", u"0041", u"41", u"041"};
            const std::u16string code =
                Below(4) == 0 ? std::u16string(Pick(kCollisions)) : Digits(u"014Aaz");
            test::AddLine(table, {code, Pick(kCharacters)});
        }
        table.BuildIndex();
        return table;
    }

    std::u16string Codes() {
        constexpr std::u16string_view kOdd[] = {u"??", u"zz",     u"FFFFFFFF", u"000000041",
                                                u"\r", u"AAAAAA", u"100"};
        std::u16string codes;
        for (std::size_t count = Below(10); count > 0; --count) {
            codes += Below(8) == 0 ? std::u16string(Pick(kOdd)) : Digits(u"014Aa");
            codes += count > 1 ? u" " : u"";
        }
        return codes;
    }

    std::u16string Text() {
        constexpr std::u16string_view kCharacters = u"AB\\n\r\nxあ ";
        std::u16string text;
        for (std::size_t count = Below(12); count > 0; --count) {
            text += kCharacters[Below(kCharacters.size())];
        }
        return text;
    }

private:
    std::size_t Below(std::size_t n) { return random_() % n; }

    template <std::size_t N>
    std::u16string_view Pick(const std::u16string_view (&pool)[N]) {
        return pool[Below(N)];
    }

    std::u16string Digits(std::u16string_view alphabet) {
        constexpr std::size_t kLengths[] = {0, 1, 2, 2, 2, 3, 4, 4, 5, 8};
        std::u16string digits;
        for (std::size_t n = kLengths[Below(std::size(kLengths))]; n > 0; --n) {
            digits += alphabet[Below(alphabet.size())];
        }
        return digits;
    }

    std::mt19937 random_{20240611};
};

TEST(FirstMatch, IndexedLookupsGiveWhatAScanGives) {
    RandomTables random;
    for (int round = 0; round < 3000; ++round) {
        const CodeTable table = random.Table();
        CodeTable unindexed = table;
        unindexed.Resize(unindexed.size());  // any change lets go of the index
        for (int input = 0; input < 4; ++input) {
            const std::u16string codes = random.Codes();
            const std::u16string text = random.Text();
            for (const bool option : {false, true}) {
                const std::u16string expectedText = ReferenceCodeToText(table, codes, option);
                ASSERT_EQ(fCodeToText(table, codes, option), expectedText)
                    << "codes " << testing::PrintToString(codes);
                ASSERT_EQ(fCodeToText(unindexed, codes, option), expectedText);
                const std::u16string expectedCodes = ReferenceTextToCode(table, text, option);
                ASSERT_EQ(fTextToCode(table, text, option), expectedCodes)
                    << "text " << testing::PrintToString(text);
                ASSERT_EQ(fTextToCode(unindexed, text, option), expectedCodes);
            }
        }
    }
}

}  // namespace
}  // namespace zelkora
