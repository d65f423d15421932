#include "core/engine/Spacing.h"

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

using TextCase = test::Case<std::u16string_view>;

constexpr TextCase kSplitCases[] = {
    {"empty", u"", u""},
    {"one", u"4", u"4"},
    {"two_unchanged", u"41", u"41"},
    {"three_single_first", u"123", u"1 23"},
    {"four", u"4230", u"42 30"},
    {"five", u"12345", u"1 23 45"},
    {"six", u"414243", u"41 42 43"},
    {"words_too", u"apple", u"a pp le"},
};

ZELKORA_TEST_FUNCTION(Engine, SplitPairs, GroupsFromTheEnd, kSplitCases, fSplitPairs)

// The spacing as first described: one space inserted after every second character from the end.
std::u16string SplitByInsertion(std::u16string_view text) {
    std::u16string result(text);
    if (text.size() <= 2) {
        return result;
    }
    for (auto p = static_cast<std::ptrdiff_t>(text.size()) - 2; p >= 1; p -= 2) {
        const auto at = static_cast<std::size_t>(p);
        result = result.substr(0, at) + u" " + result.substr(at);
    }
    return result;
}

TEST(SplitPairsLength, MatchesRepeatedInsertionUpTo300) {
    std::u16string text;
    for (std::size_t length = 0; length <= 300; ++length) {
        EXPECT_EQ(fSplitPairs(text), SplitByInsertion(text)) << "length " << length;
        text.push_back(static_cast<char16_t>(u'0' + length % 10));
    }
}

// Long pasted inputs, past any 16-bit position: the input and its expected spacing are built
// side by side from known groups.
TEST(SplitPairsLength, LongInputs) {
    for (const std::size_t length : {32767u, 32768u, 32769u, 100000u, 100001u}) {
        std::u16string input;
        std::u16string expected;
        std::size_t group = 0;
        for (std::size_t done = 0; done < length; ++group) {
            const std::size_t size = done == 0 && length % 2 == 1 ? 1 : 2;
            const std::u16string pair = {static_cast<char16_t>(0x4E00 + group % 4000),
                                         static_cast<char16_t>(u'a' + group % 26)};
            const std::u16string part = pair.substr(0, size);
            expected += (done == 0 ? u"" : u" ") + part;
            input += part;
            done += size;
        }
        EXPECT_EQ(fSplitPairs(input), expected) << "length " << length;
    }
}

// The two decisions made on what was typed: whether it gets spaced, and whether the automatic
// conversion reads it as codes.
struct DecisionCase : test::NamedCase {
    bool (*decide)(std::u16string_view input);
    std::u16string_view input;
    bool expected;
};

constexpr DecisionCase kDecisionCases[] = {
    {"spacing_empty", NeedsSpacing, u"", false},
    {"spacing_two_characters", NeedsSpacing, u"AB", false},
    {"spacing_three_characters", NeedsSpacing, u"123", true},
    {"spacing_leading_spaces", NeedsSpacing, u"  4142", false},
    {"spacing_space_at_end", NeedsSpacing, u"4142 ", false},
    {"spacing_ideographic_space_is_no_space", NeedsSpacing, u"41\u300042", true},
    {"spacing_tab_is_no_space", NeedsSpacing, u"41\t42", true},
    {"automatic_empty", LooksLikeCodes, u"", false},
    {"automatic_spaces_only", LooksLikeCodes, u"   ", false},
    {"automatic_codes", LooksLikeCodes, u"41 42", true},
    {"automatic_upper_case_letter", LooksLikeCodes, u"AB", true},
    {"automatic_lower_case_letter", LooksLikeCodes, u"apple", true},
    {"automatic_letter_past_f", LooksLikeCodes, u"Hello", false},
    {"automatic_leading_spaces", LooksLikeCodes, u"  9", true},
    {"automatic_leading_tab_is_text", LooksLikeCodes, u"\t41", false},
    {"automatic_full_width_digit", LooksLikeCodes, u"４１", false},
    {"automatic_full_width_letter", LooksLikeCodes, u"ａ", false},
    {"automatic_kana", LooksLikeCodes, u"あ", false},
};

ZELKORA_TEST_CASES(Engine, Decision, Decides, kDecisionCases) {
    EXPECT_EQ(GetParam().decide(GetParam().input), GetParam().expected);
}

}  // namespace
}  // namespace zelkora
