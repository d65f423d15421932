#include "core/engine/TextToCode.h"

#include <gtest/gtest.h>

#include "core/engine/ConversionThreads.h"

#include "tests/core/EngineTable.h"

#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

using test::Line;

using NotationCase = test::Case<std::u16string_view>;

constexpr NotationCase kNotationCases[] = {
    {"one_byte", u"41", u"41"},
    {"one_digit_padded", u"A", u"0A"},
    {"two_byte_case_kept", u"82a0", u"a0 82"},  // あ in Shift_JIS
    {"two_byte", u"3042", u"42 30"},            // あ in UTF-16
    {"three_digits_padded", u"123", u"23 01"},
    {"five_digits", u"1F600", u"00 F6 01"},  // 😀
    {"four_bytes", u"12345678", u"78 56 34 12"},
    {"not_hexadecimal_copied", u"zz", u"zz"},
    {"empty", u"", u""},
};

ZELKORA_TEST_CASES(Engine, Notation, EvenDigitsThenReverseBytes, kNotationCases) {
    EXPECT_EQ(fReverseBytes(fEvenDigits(GetParam().input)), GetParam().expected);
}

// Line numbers matter: duplicates and first-match order are tested against them.
constexpr Line kTable[] = {
    {u"41", u"A"},     // 0
    {u"42", u"B"},     // 1
    {u"82a0", u"あ"},  // 2
    {u"0A", u"\\n"},   // 3: the line-break token
    {u"123", u"C"},    // 4
    {u"5C", u"\\"},    // 5
    {u"99", u"A"},     // 6: shadowed by line 0
    {u"", u"E"},       // 7: no code
    {u"77", u"AB"},    // 8: several characters, never matched
    {u"0D", u"\r"},    // 9
    {u"6E", u"n"},     // 10
};

struct ConversionCase : test::NamedCase {
    bool lineBreakOption;
    std::u16string_view text;
    std::u16string_view expected;
};

constexpr ConversionCase kConversionCases[] = {
    {"empty", false, u"", u""},
    {"one_character", false, u"A", u"41 "},
    {"missing_character", false, u"AxB", u"41 ?? 42 "},
    {"two_byte_lowest_first", false, u"あ", u"a0 82 "},
    {"odd_length_code", false, u"C", u"23 01 "},
    {"earliest_line_wins", false, u"AA", u"41 41 "},
    {"empty_code_writes_only_the_space", false, u"AEB", u"41  42 "},
    {"multi_character_entry_never_matches", false, u"AB", u"41 42 "},
    {"crlf_option_on", true, u"A\r\nB", u"41 0A 42 "},
    {"crlf_option_off", false, u"A\r\nB", u"41 0D ?? 42 "},
    {"lone_cr_option_on", true, u"A\rB", u"41 0D 42 "},
    {"lone_lf_option_on", true, u"\n", u"?? "},
    {"cr_before_crlf", true, u"\r\r\n", u"0D 0A "},
    {"typed_token_option_off", false, u"A\\nB", u"41 0A 42 "},
    {"typed_token_option_on", true, u"\\n", u"0A "},
    {"backslash_alone", false, u"\\x", u"5C ?? "},
    {"backslash_at_end", false, u"A\\", u"41 5C "},
    {"n_alone", false, u"nA", u"6E 41 "},
    {"surrogate_pair_two_groups", false, u"😀", u"?? ?? "},
};

class TextToCode : public testing::TestWithParam<ConversionCase> {};

TEST_P(TextToCode, Converts) {
    const CodeTable table = test::MakeTable(kTable);
    const ConversionCase& c = GetParam();
    EXPECT_EQ(fTextToCode(table, c.text, c.lineBreakOption), c.expected);
}

// Cut for two threads wherever the cut may fall, the text converts as a whole.
TEST_P(TextToCode, ConvertsAlikeWhereverCut) {
    const CodeTable table = test::MakeTable(kTable);
    const ConversionCase& c = GetParam();
    test::ExpectAlikeWhereverCut(
        c.text.size(), c.expected, [&](std::size_t at) { return TextCut(c.text, at); },
        [&](std::size_t cut, std::vector<std::size_t>* unmatched) {
            return TextToCodeCut(table, c.text, c.lineBreakOption, unmatched, cut);
        });
}

// Read a piece at a time, as the command line reads a long input, the text converts as a whole.
TEST_P(TextToCode, ConvertsAlikeInPieces) {
    const CodeTable table = test::MakeTable(kTable);
    const ConversionCase& c = GetParam();
    std::vector<std::size_t> whole;
    static_cast<void>(fTextToCode(table, c.text, c.lineBreakOption, &whole));
    test::ExpectAlikeInPieces(
        c.text, c.expected, whole,
        [&](std::u16string_view given, bool last, std::u16string& result,
            std::vector<std::size_t>& unmatched) {
            const std::size_t taken = last ? given.size() : TextBeforeMore(given);
            result += fTextToCode(table, given.substr(0, taken), c.lineBreakOption, &unmatched);
            return taken;
        });
}

INSTANTIATE_TEST_SUITE_P(Engine, TextToCode, testing::ValuesIn(kConversionCases), test::CaseName);

TEST(TextToCodeTable, NoSlotsGivesUnknownPerCharacter) {
    const CodeTable empty;
    EXPECT_EQ(fTextToCode(empty, u"a\r\n\\nb", true), u"?? ?? ?? ?? ");
}

TEST(TextToCodeTable, TokenWithoutEntryIsOneUnknownGroup) {
    constexpr Line kNoToken[] = {{u"5C", u"\\"}, {u"6E", u"n"}};
    EXPECT_EQ(fTextToCode(test::MakeTable(kNoToken), u"\\n", false), u"?? ");
}

TEST(TextToCodeTable, SlotsAddedAfterBuildingTheIndexAreFound) {
    CodeTable table = test::MakeTable(kTable);
    test::AddLine(table, {u"78", u"x"});
    EXPECT_EQ(fTextToCode(table, u"xA", false), u"78 41 ");
}

}  // namespace
}  // namespace zelkora
