#include "core/encoding/Utf8.h"
#include "core/common/FileNames.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

// ---- Strict reading of stdin.

struct StrictCase : test::NamedCase {
    std::string_view utf8;
    std::u16string_view text;  // when valid
    std::size_t badOffset;     // npos when valid
};

constexpr std::size_t kValid = std::string_view::npos;

constexpr StrictCase kStrictCases[] = {
    {"empty", "", u"", kValid},
    {"ascii", "41 A", u"41 A", kValid},
    {"hiragana", "\xE3\x81\x82", u"あ", kValid},
    {"supplementary", "\xF0\x9F\x98\x80", u"\xD83D\xDE00", kValid},  // 😀
    {"stray_continuation", "ab\x80", u"", 2},
    {"overlong_slash", "a\xC0\xAF", u"", 1},
    {"encoded_surrogate", "\xED\xA0\x80", u"", 0},
    {"beyond_10FFFF", "\xF4\x90\x80\x80", u"", 0},
    {"cut_at_end", "abc\xE3\x81", u"", 3},
    {"bad_after_multibyte", "\xE3\x81\x82\xFF", u"", 3},
};

// A block read from a longer text is decoded up to a sequence the next block may complete.
TEST(Utf8, CompleteLengthHoldsBackOnlyAnIncompleteEnd) {
    EXPECT_EQ(CompleteUtf8Length("ab\xE3\x81"), 2u);
    EXPECT_EQ(CompleteUtf8Length("\xF0\x9F\x98"), 0u);
    EXPECT_EQ(CompleteUtf8Length("a\xE3\x81\x82"), 4u);
    EXPECT_EQ(CompleteUtf8Length("ab\x80"), 3u);  // no sequence to complete: the decoder tells
}

ZELKORA_TEST_CASES(Utf8, Strict, TextOrFirstBadByte, kStrictCases) {
    const StrictCase& c = GetParam();
    std::size_t badOffset = kValid;
    const std::optional<std::u16string> text = Utf8ToUtf16Strict(c.utf8, &badOffset);
    EXPECT_EQ(badOffset, c.badOffset);
    EXPECT_EQ(text.has_value(), c.badOffset == kValid);
    if (text) {
        EXPECT_EQ(*text, c.text);
    }
}

// ---- Writing text out.

using ToUtf8Case = test::Case<std::u16string_view, std::string_view>;

constexpr ToUtf8Case kToUtf8Cases[] = {
    {"hiragana", u"あA",
     "\xE3\x81\x82"
     "A"},
    {"pair", u"\xD83D\xDE00", "\xF0\x9F\x98\x80"},
    {"lone_high",
     u"\xD83D"
     "a",
     "\xEF\xBF\xBD"
     "a"},
    {"lone_low_at_end", u"\xDE00", "\xEF\xBF\xBD"},
    {"reversed_pair", u"\xDE00\xD83D", "\xEF\xBF\xBD\xEF\xBF\xBD"},
};

ZELKORA_TEST_FUNCTION(Utf8, ToUtf8, Bytes, kToUtf8Cases, Utf16ToUtf8)

// ---- File names that need not be UTF-8.

using FileNameCase = test::Case<std::string_view, std::u16string_view>;

constexpr FileNameCase kFileNameCases[] = {
    {"utf8_name", "\xE8\xA1\xA8.tbl", u"表.tbl"},
    {"latin1_byte", "caf\xE9.tbl", u"caf\xDCE9.tbl"},
    {"sjis_name", "\x95\x5C.tbl", u"\xDC95\\.tbl"},  // 表 in Shift_JIS
    {"cut_sequence", "\xE3\x81", u"\xDCE3\xDC81"},
    {"encoded_surrogate", "\xED\xB2\x80", u"\xDCED\xDCB2\xDC80"},
};

ZELKORA_TEST_CASES(Utf8, FileName, ToTextAndBack, kFileNameCases) {
    const FileNameCase& c = GetParam();
    EXPECT_EQ(FileNameToText(c.input), c.expected);
    EXPECT_EQ(TextToFileName(c.expected), c.input);
}

TEST(Utf8, EveryShortByteStringSurvivesTheRoundTrip) {
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; ++second) {
            const std::string raw{static_cast<char>(first), static_cast<char>(second)};
            ASSERT_EQ(TextToFileName(FileNameToText(raw)), raw) << first << " " << second;
        }
    }
}

TEST(Utf8, RandomByteStringsSurviveTheRoundTrip) {
    std::mt19937 random(7);
    // Bytes drawn from the lead and continuation ranges make valid, cut and overlong
    // sequences in about equal measure.
    std::uniform_int_distribution<int> byte(0x70, 0xFF);
    for (int round = 0; round < 2000; ++round) {
        std::string raw(round % 40, '\0');
        for (char& b : raw) {
            b = static_cast<char>(byte(random));
        }
        ASSERT_EQ(TextToFileName(FileNameToText(raw)), raw) << testing::PrintToString(raw);
    }
}

TEST(Utf8, OtherLoneSurrogatesBecomeReplacementInFileNames) {
    EXPECT_EQ(TextToFileName(u"\xD800"
                             "a\xDC7F"),
              "\xEF\xBF\xBD"
              "a\xEF\xBF\xBD");
}

}  // namespace
}  // namespace zelkora
