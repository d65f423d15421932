#include "core/engine/CodeToText.h"
#include "core/engine/TextToCode.h"

#include <span>
#include <vector>

#include <gtest/gtest.h>

#include "core/engine/ConversionThreads.h"
#include "tests/core/EngineTable.h"

#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

using test::Line;

constexpr Line kAB[] = {{u"41", u"A"}, {u"42", u"B"}};
constexpr Line kHiragana[] = {{u"3042", u"あ"}};
constexpr Line kOneByteFirst[] = {{u"42", u"B"}, {u"3042", u"あ"}};
constexpr Line kTwoByteFirst[] = {{u"3042", u"あ"}, {u"42", u"B"}};
constexpr Line kPadded[] = {{u"0041", u"X"}, {u"41", u"A"}};
constexpr Line kJoined[] = {{u"231", u"Q"}, {u"1", u"E"}};
constexpr Line kLowByte[] = {{u"31", u"D"}};
// Each element pairs with the one after it, so which ones pair depends on every element before.
constexpr Line kEveryPair[] = {{u"3042", u"あ"}, {u"4230", u"X"}};
constexpr Line kLineBreak[] = {
    {u"61", u"a"}, {u"62", u"b"}, {u"0A", u"\\n"}, {u"5C", u"\\"}, {u"6E", u"n"}};
constexpr Line kOddCodes[] = {
    {u"", u"E"},          // no code: never matches, though its code reads as 0
    {u"zz", u"Z"},        // not hexadecimal: its code reads as 0
    {u"43", u"CDE"},      // the whole text comes out
    {u"FFFFFF41", u"W"},  // highest bit set: a negative code
};

struct Case : test::NamedCase {
    std::span<const Line> table;
    bool lineBreakOption;
    std::u16string_view codes;
    std::u16string_view expected;
};

const Case kCases[] = {
    {"empty", kAB, false, u"", u""},
    {"spaces_only", kAB, false, u"   ", u""},
    {"one_byte_codes", kAB, false, u"41 42", u"AB"},
    {"empty_element_gives_nothing", kAB, false, u"41  42", u"AB"},
    {"trailing_space", kAB, false, u"41 42 ", u"AB"},
    {"two_byte_lowest_first", kHiragana, false, u"42 30", u"あ"},
    {"two_byte_reversed_does_not_match", kHiragana, false, u"30 42", u" 30  42 "},
    {"one_byte_above_two_byte_wins", kOneByteFirst, false, u"42 30", u"B 30 "},
    {"two_byte_above_one_byte_wins", kTwoByteFirst, false, u"42 30", u"あ"},
    {"pairs_in_a_row", kHiragana, false, u"42 30 42 30 42 30", u"あああ"},
    {"pairs_decided_from_the_start", kEveryPair, false, u"42 30 42 30 42", u"ああ 42 "},
    {"pairs_after_one_byte", kTwoByteFirst, false, u"42 42 30 42", u"BあB"},
    {"last_element_no_two_byte", kHiragana, false, u"42", u" 42 "},
    {"last_element_all_bits", kHiragana, false, u"3042", u" 3042 "},
    {"last_element_evened", kHiragana, false, u"123", u" 0123 "},
    {"unmatched_upper_case", kAB, false, u"4a 4b", u" 4A  4B "},
    {"one_digit_joined_as_text", kJoined, false, u"1 23", u"Q"},
    {"one_digit_low_byte", kLowByte, false, u"1 23", u"D 23 "},
    {"one_digit_last", kJoined, false, u"1", u"E"},
    {"empty_next_consumed_by_two_byte", kPadded, false, u"41  42", u"X 42 "},
    {"empty_last_consumed_by_two_byte", kPadded, false, u"41 ", u"X"},
    {"last_element_without_empty_next", kPadded, false, u"41", u"A"},
    {"line_break_option_on", kLineBreak, true, u"61 0A 62", u"a\r\nb"},
    {"line_break_option_off", kLineBreak, false, u"61 0A 62", u"a\\nb"},
    {"joined_token_option_on", kLineBreak, true, u"5C 6E", u"\r\n"},
    {"joined_token_option_off", kLineBreak, false, u"5C 6E", u"\\n"},
    {"token_after_backslash", kLineBreak, true, u"5C 5C 6E", u"\\\r\n"},
    {"unreadable_echoed", kAB, false, u"41 ?? 42", u"A ?? B"},
    {"unreadable_first", kAB, false, u"?? 41", u" ?? A"},
    {"too_many_digits_echoed", kAB, false, u"41 123456789", u"A 123456789 "},
    {"leading_zeros_read", kAB, false, u"000000041", u"A"},
    {"joined_beyond_32_bits", kAB, false, u"41 FFFFFFFF", u"A FFFFFFFF "},
    {"joined_exactly_32_bits", kOddCodes, false, u"41 FFFFFF", u"W"},
    {"eight_digits_under_zero", kPadded, false, u"00000041 0", u"X"},
    {"line_break_inside_element", kAB, false, u"41\r\n42", u" 41\r\n42 "},
    {"no_code_skipped_non_hex_reads_zero", kOddCodes, false, u"00 0", u"ZZ"},
    {"several_characters_whole", kOddCodes, false, u"43", u"CDE"},
    {"no_slots", {}, false, u"41 42", u" 41  42 "},
};

class CodeToText : public testing::TestWithParam<Case> {};

TEST_P(CodeToText, Converts) {
    const Case& c = GetParam();
    EXPECT_EQ(fCodeToText(test::MakeTable(c.table), c.codes, c.lineBreakOption), c.expected);
}

// Cut for two threads wherever the cut may fall, the codes convert as a whole.
TEST_P(CodeToText, ConvertsAlikeWhereverCut) {
    const Case& c = GetParam();
    const CodeTable table = test::MakeTable(c.table);
    test::ExpectAlikeWhereverCut(
        c.codes.size(), c.expected, [&](std::size_t at) { return CodesCut(table, c.codes, at); },
        [&](std::size_t cut, std::vector<std::size_t>* unmatched) {
            return CodeToTextCut(table, c.codes, c.lineBreakOption, unmatched, cut);
        });
}

// Read a piece at a time, as the command line reads a long input, the codes convert as a whole.
TEST_P(CodeToText, ConvertsAlikeInPieces) {
    const Case& c = GetParam();
    const CodeTable table = test::MakeTable(c.table);
    std::vector<std::size_t> whole;
    static_cast<void>(fCodeToText(table, c.codes, c.lineBreakOption, &whole));
    CodeToTextStream stream(table, c.lineBreakOption);
    test::ExpectAlikeInPieces(c.codes, c.expected, whole,
                              [&](std::u16string_view given, bool last, std::u16string& result,
                                  std::vector<std::size_t>& unmatched) {
                                  return stream.Convert(given, last, result, &unmatched);
                              });
}

INSTANTIATE_TEST_SUITE_P(Engine, CodeToText, testing::ValuesIn(kCases), test::CaseName);

TEST(CodeToTextTable, SlotsAddedAfterBuildingTheIndexAreFound) {
    CodeTable table = test::MakeTable(kAB);
    test::AddLine(table, {u"43", u"C"});
    EXPECT_EQ(fCodeToText(table, u"41 43", false), u"AC");
}

// As many slots as when the index was built, but not the same ones.
TEST(CodeToTextTable, SlotsChangedAfterBuildingTheIndexAreFound) {
    CodeTable table = test::MakeTable(kAB);
    table.SetSlot(1, 0x43, u"43", u"C");
    EXPECT_EQ(fCodeToText(table, u"42 43", false), u" 42 C");
    EXPECT_EQ(fTextToCode(table, u"BC", false), u"?? 43 ");
}

// Views into the table's own texts, given beside a text that is copied into them and can move
// them.
TEST(CodeToTextTable, SlotsSetFromTheTablesOwnTextsKeepThem) {
    CodeTable table = test::MakeTable(kAB);
    const std::u16string longCode(4096, u'0');
    table.SetSlot(0, 0x42, longCode, table.Characters(1));
    table.SetSlot(1, 0x43, u"43", table.CodeTexts(0).substr(4090));
    EXPECT_EQ(table.CodeTexts(0), longCode);
    EXPECT_EQ(table.Characters(0), u"B");
    EXPECT_EQ(table.CodeTexts(1), u"43");
    EXPECT_EQ(table.Characters(1), u"000000");
}

}  // namespace
}  // namespace zelkora
