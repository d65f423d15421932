#include "core/encoding/modJudge.h"
#include "core/encoding/modJudgeScorers.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

using namespace std::string_view_literals;
using test::AsBytes;

// ---- The six scores and the detected name of short inputs.

struct ScoresCase : test::NamedCase {
    std::string_view bytes;
    EncodingScores scores;  // jis, unicode, utf8, utf7, sjis, euc
    Encoding detected;
};

constexpr ScoresCase kScoresCases[] = {
    {"one_byte", "A", {50, 0, 50, 50, 50, 50}, Encoding::SJIS},
    {"plain_ascii", "41 A\r\n", {50, 0, 50, 50, 50, 50}, Encoding::SJIS},
    {"escaped_plus", "2B +-\r\n", {50, 0, 50, 64, 50, 50}, Encoding::UTF7},
    // "A1 " as UTF-16LE without a byte-order mark
    {"utf16_ascii_without_bom", "A\0001\000 \000"sv, {50, 50, 50, 50, 25, 50}, Encoding::Unicode},
    {"sjis_hiragana", "\x82\xA0\x82\xA2\x82\xA4", {0, 0, 0, 0, 100, 0}, Encoding::SJIS},  // あいう
    {"euc_hiragana", "\xA4\xA2\xA4\xA4\xA4\xA6", {0, 0, 0, 0, 50, 100}, Encoding::EUC},  // あいう
    {"utf8_hiragana",
     "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86",
     {0, 0, 100, 0, 89, 0},
     Encoding::UTF8},                                                        // あいう
    {"utf8_ties_euc", "\xC3\xA9", {0, 0, 100, 0, 50, 100}, Encoding::UTF8},  // é
    {"jis_ties_utf7_utf8_euc", "AAA\0"sv, {50, 0, 50, 50, 38, 50}, Encoding::JIS},
    {"odd_length_utf16_halved", "\0\0A"sv, {50, 33, 50, 50, 33, 50}, Encoding::JIS},
    {"utf7_run", "+AGEAYgBj-", {50, 0, 50, 100, 50, 50}, Encoding::UTF7},  // abc
    {"utf7_run_with_stray_bits", "+AGF-", {50, 0, 50, 0, 50, 50}, Encoding::SJIS},
    {"utf16_bom", "\xFF\xFE\x41\0"sv, {25, 9999, 25, 25, 12, 25}, Encoding::Unicode},
    {"utf16_bom_then_escape", "\xFF\xFE\x1B(B", {9999, 9999, 30, 30, 30, 30}, Encoding::JIS},
    {"utf16_bom_then_utf8_bom",
     "\xFF\xFE\xEF\xBB\xBF",
     {0, 9999, 9999, 0, 50, 80},
     Encoding::Unicode},
    {"utf8_bom_stops_utf16", "\xEF\xBB\xBF\x41", {12, 0, 9999, 12, 75, 62}, Encoding::UTF8},
    {"utf16_bom_at_odd_offset", "A\xFF\xFE\0"sv, {25, 50, 25, 25, 12, 25}, Encoding::Unicode},
    {"utf16_bom_at_offset_2", "A\0\xFF\xFE"sv, {25, 9999, 25, 25, 12, 25}, Encoding::Unicode},
    {"utf16_bom_after_stopping_unit", "\0\x34\xFF\xFE"sv, {25, 0, 25, 25, 25, 25}, Encoding::SJIS},
    {"escape_at_last_two_positions", "A\x1B(", {33, 33, 50, 50, 50, 50}, Encoding::SJIS},
    {"escape_paren", "\x1B(B", {9999, 33, 50, 50, 50, 50}, Encoding::JIS},
    {"escape_dollar", "\x1B$B", {9999, 33, 50, 50, 50, 50}, Encoding::JIS},
};

ZELKORA_TEST_CASES(ModJudge, Scores, AllSixAndTheDetectedName, kScoresCases) {
    const ScoresCase& c = GetParam();
    const EncodingScores scores = ScoreEncodings(AsBytes(c.bytes));
    EXPECT_EQ(scores.score, c.scores.score);
    EXPECT_EQ(DetectEncoding(AsBytes(c.bytes)), c.detected);
}

// ---- UTF-8 throughout. With no mark and no escape, a file that is valid UTF-8 to its last byte,
// with a character beyond ASCII, is UTF-8, however it scores. The input is `comments` lines
// "// xxx..." of 80 ASCII characters and CR LF, then `entries`.

struct ThroughoutCase : test::NamedCase {
    int comments;
    std::string_view entries;
    Encoding detected;
};

constexpr ThroughoutCase kThroughoutCases[] = {
    // Every score rounds to 50, and the tie went to Shift_JIS.
    {"five_comments_then_one_entry", 5, "01 \xE3\x81\x82\r\n", Encoding::UTF8},  // あ
    // 2.5 KB: Japanese UTF-8 earns as many points a byte as Shift_JIS.
    {"thirty_comments_five_entries", 30,
     "01 \xE3\x81\x82\r\n02 \xE3\x81\x84\r\n03 \xE6\x97\xA5\r\n04 \xE6\x9C\xAC\r\n"
     "05 \xE8\xAA\x9E\r\n",
     Encoding::UTF8},  // あ い 日 本 語
    // The whole file is checked: a Shift_JIS あ after 2.5 KB makes it no UTF-8.
    {"shift_jis_after_the_first_kilobyte", 30, "01 \xE3\x81\x82\r\n02 \x82\xA0\r\n",
     Encoding::SJIS},
    {"shift_jis", 0, "01 \x82\xA0\r\n02 \x82\xA2\r\n", Encoding::SJIS},  // あ い
    {"euc_jp", 0, "01 \xA4\xA2\r\n02 \xA4\xA4\r\n", Encoding::EUC},      // あ い
    {"encoded_surrogate_is_no_utf8", 5, "01 \xED\xA0\x80\r\n", Encoding::SJIS},
    {"overlong_form_is_no_utf8", 5, "01 \xC0\xAF\r\n", Encoding::SJIS},
    // ASCII alone decides nothing: UTF-16 without a mark and UTF-7 are ASCII too.
    {"ascii_only", 5, "01 A\r\n", Encoding::SJIS},
    {"ascii_utf7", 5, "01 +MEI-\r\n", Encoding::UTF7},
    // A mark or an escape still comes first.
    {"escape_first", 5, "01 \x1B$B$\"\x1B(B\r\n02 \xE3\x81\x84\r\n", Encoding::JIS},
};

ZELKORA_TEST_CASES(ModJudge, Throughout, DecidesWhenNothingIsCertain, kThroughoutCases) {
    const ThroughoutCase& c = GetParam();
    std::string input;
    for (int line = 0; line < c.comments; ++line) {
        input += "// " + std::string(77, 'x') + "\r\n";
    }
    input += c.entries;
    EXPECT_EQ(DetectEncoding(AsBytes(input)), c.detected);
}

// ---- Rounding and the end of the examined span. The input is `prefix`, then `ascii` bytes
// "A", then bytes 0x80 (worth nothing to every byte scorer) up to index `tailAt`, then `tail`.
// 970 ASCII points alone score 48 (48.5 rounds to even); four more points score 49.

struct SpanCase : test::NamedCase {
    Scorer score;
    std::string_view prefix;
    std::size_t ascii;
    std::size_t tailAt;
    std::string_view tail;
    std::int16_t expected;
};

constexpr SpanCase kSpanCases[] = {
    {"sjis_101_points_of_100_bytes", ScoreSJIS, "\x82\xA0", 97, 100, "", 50},
    {"sjis_103_points_of_100_bytes", ScoreSJIS, "\x82\xA0\x82\xA0", 95, 100, "", 52},
    {"sjis_lead_at_999_trail_at_1000", ScoreSJIS, "", 970, 999, "\x82\xA0", 49},
    {"sjis_lead_at_999_last_byte", ScoreSJIS, "", 970, 999, "\x82", 48},
    {"sjis_lead_at_999_bad_trail", ScoreSJIS, "", 970, 999, "\x82 ", 48},
    {"euc_pair_at_999", ScoreEUC, "", 970, 999, "\xA4\xA2", 49},
    {"euc_kana_at_999", ScoreEUC, "", 970, 999, "\x8E\xB1", 49},
    {"euc_ss3_at_999", ScoreEUC, "", 970, 999, "\x8F\xB0\xA1", 49},
    {"euc_ss3_at_999_cut", ScoreEUC, "", 970, 999, "\x8F\xB0", 48},
    {"utf8_unit_at_999", ScoreUTF8, "", 970, 999, "\xE3\x81\x82", 49},
    {"utf8_unit_at_999_cut", ScoreUTF8, "", 970, 999, "\xE3\x81", 48},
    {"utf8_bom_at_998", ScoreUTF8, "", 970, 998, "\xEF\xBB\xBF", 9999},
    {"utf8_bom_at_999", ScoreUTF8, "", 970, 999, "\xEF\xBB\xBF", 9999},
    {"utf8_bom_at_1000", ScoreUTF8, "", 970, 1000, "\xEF\xBB\xBF", 48},
    {"jis_escape_at_999", ScoreJIS, "", 970, 999, "\x1B(B", 9999},
    {"jis_escape_at_999_cut", ScoreJIS, "", 970, 999, "\x1B(", 48},
    {"jis_escape_at_1000", ScoreJIS, "", 970, 1000, "\x1B(B", 48},
    {"utf7_run_closed_at_999", ScoreUTF7, "", 970, 990, "+AGEAYgBj-", 50},
    {"utf7_run_closed_at_1000", ScoreUTF7, "", 970, 991, "+AGEAYgBj-", 48},
    // After 1000 bytes of plain ASCII (01-7F but ESC) the whole file is examined.
    {"utf8_bom_at_1000_after_ascii_head", ScoreUTF8, "", 1000, 1000, "\xEF\xBB\xBF", 9999},
    {"utf8_bom_at_1000_after_del_in_head", ScoreUTF8, "\x7F", 999, 1000, "\xEF\xBB\xBF", 9999},
    {"utf8_bom_at_1000_after_high_byte_at_999", ScoreUTF8, "", 999, 1000, "\xEF\xBB\xBF", 50},
    {"utf8_bom_at_1000_after_nul_in_head", ScoreUTF8, {"\0", 1}, 999, 1000, "\xEF\xBB\xBF", 50},
    {"utf8_bom_at_1000_after_esc_in_head", ScoreUTF8, "\x1B", 999, 1000, "\xEF\xBB\xBF", 50},
    {"jis_escape_at_1000_after_ascii_head", ScoreJIS, "", 1000, 1000, "\x1B(B", 9999},
    // Code units 80 80 are accepted, so only the mark decides.
    {"utf16_bom_at_998", ScoreUnicode, "", 0, 998, "\xFF\xFE", 9999},
    {"utf16_bom_at_999", ScoreUnicode, "", 0, 999, "\xFF\xFE", 50},
    {"utf16_bom_at_1000", ScoreUnicode, "", 0, 1000, "\xFF\xFE", 50},
};

ZELKORA_TEST_CASES(ModJudge, Span, Score, kSpanCases) {
    const SpanCase& c = GetParam();
    std::string input(c.prefix);
    input.append(c.ascii, 'A');
    input.append(c.tailAt - input.size(), '\x80');
    input.append(c.tail);
    EXPECT_EQ(c.score(AsBytes(input), LastExamined(AsBytes(input))), c.expected);
}

TEST(ModJudge, UnitStraddlingTheSpanKeepsTheScoreAt100) {
    // 333 x あ fill indices 0..998 at 2 points a byte; a six-byte unit at 999 adds 12, and
    // 2010 points make 100.5, which rounds to the even 100.
    std::string input;
    for (int i = 0; i < 333; ++i) {
        input += "\xE3\x81\x82";
    }
    input += "\xFC\x80\x80\x80\x80\x80";
    EXPECT_EQ(ScoreUTF8(AsBytes(input), LastExamined(AsBytes(input))), 100);
}

// ---- What every scorer promises, whatever the bytes.

struct ScorerCase : test::NamedCase {
    Scorer score;
    std::int16_t maximum;
    bool mayBeCertain;
};

constexpr ScorerCase kScorerCases[] = {
    {"jis", ScoreJIS, 100, true},    {"unicode", ScoreUnicode, 50, true},
    {"utf8", ScoreUTF8, 100, true},  {"utf7", ScoreUTF7, 100, false},
    {"sjis", ScoreSJIS, 100, false}, {"euc", ScoreEUC, 100, false},
};

class Contract : public testing::TestWithParam<ScorerCase> {
protected:
    void ExpectValid(const std::vector<std::uint8_t>& bytes) const {
        const ScorerCase& c = GetParam();
        const std::int16_t score = c.score(bytes, LastExamined(bytes));
        if (score == kCertain && c.mayBeCertain) {
            return;
        }
        ASSERT_GE(score, 0) << testing::PrintToString(bytes);
        ASSERT_LE(score, c.maximum) << testing::PrintToString(bytes);
    }
};

TEST_P(Contract, EmptyInputScoresZero) {
    EXPECT_EQ(GetParam().score({}, 0), 0);
}

TEST_P(Contract, EveryInputOfOneOrTwoBytes) {
    for (int first = 0; first < 256; ++first) {
        ExpectValid({static_cast<std::uint8_t>(first)});
        for (int second = 0; second < 256; ++second) {
            ExpectValid({static_cast<std::uint8_t>(first), static_cast<std::uint8_t>(second)});
        }
    }
}

TEST_P(Contract, RandomInputsAroundTheSpanEnd) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::uint8_t> bytes(995 + round % 12);
        // Half the rounds keep to high bytes, where the multi-byte units are.
        const int low = round % 2 == 0 ? 0 : 0x80;
        std::uniform_int_distribution<int> byte(low, 255);
        for (std::uint8_t& b : bytes) {
            b = static_cast<std::uint8_t>(byte(random));
        }
        ExpectValid(bytes);
    }
}

TEST_P(Contract, SpanEndBeyondTheInputIsTheLastByte) {
    const auto bytes = AsBytes("\x82\xA0 A\xE3\x81\x82");
    EXPECT_EQ(GetParam().score(bytes, 5000), GetParam().score(bytes, bytes.size() - 1));
}

INSTANTIATE_TEST_SUITE_P(ModJudge, Contract, testing::ValuesIn(kScorerCases), test::CaseName);

TEST(ModJudge, EmptyInputIsNamedSjisAndScoresNothing) {
    EXPECT_EQ(DetectEncoding({}), Encoding::SJIS);
    const EncodingScores scores = ScoreEncodings({});
    EXPECT_EQ(scores.score, (std::array<std::int16_t, kEncodingCount>{}));
}

// ---- The same table stored in each encoding.

using FileCase = test::Case<std::string_view>;

constexpr FileCase kFileCases[] = {
    {"sjis", "jis-common.sjis.txt", "SJIS"},
    {"eucjp", "jis-common.eucjp.txt", "EUC"},
    {"iso2022jp", "jis-common.iso2022jp.txt", "JIS"},
    {"utf7", "jis-common.utf7.txt", "UTF7"},
    {"utf8", "jis-common.utf8.txt", "UTF8"},
    {"utf16", "jis-common.utf16.txt", "UNICODE"},
    {"custom_utf16", "fake-shift-jis.utf16.txt", "UNICODE"},
    // Its first 1000 bytes are ASCII, so the whole file is examined.
    {"utf8_after_ascii_head", "ascii-head.utf8.txt", "UTF8"},
};

ZELKORA_TEST_CASES(ModJudge, TableFile, IsNamedRight, kFileCases) {
    std::ifstream file(std::string(ZELKORA_TEST_DATA "/tables/") + std::string(GetParam().input),
                       std::ios::binary);
    ASSERT_TRUE(file);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(EncodingName(DetectEncoding(bytes)), GetParam().expected);
}

}  // namespace
}  // namespace zelkora
