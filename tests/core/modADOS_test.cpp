#include "core/encoding/modADOS.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

using Bytes = std::span<const std::uint8_t>;
using Decoder = std::u16string (*)(Bytes bytes, std::size_t* substitutions);

using namespace std::string_view_literals;
using test::AsBytes;

constexpr Decoder kSjis = FromShiftJIS;
constexpr Decoder kEuc = [](Bytes b, std::size_t* s) { return DecodeWithCharset("EUC-JP", b, s); };
constexpr Decoder kJis = [](Bytes b, std::size_t* s) {
    return DecodeWithCharset("ISO-2022-JP", b, s);
};
constexpr Decoder kUtf7 = [](Bytes b, std::size_t* s) { return DecodeWithCharset("UTF-7", b, s); };
constexpr Decoder kUtf8 = [](Bytes b, std::size_t* s) { return DecodeWithCharset("UTF-8", b, s); };
constexpr Decoder kUtf16 = [](Bytes b, std::size_t* s) {
    *s = 0;
    return FromUTF16LE(b);
};

struct DecodeCase : test::NamedCase {
    Decoder decode;
    std::string_view bytes;
    std::u16string_view text;
    std::size_t substitutions;
};

constexpr DecodeCase kDecodeCases[] = {
    // Shift_JIS as Windows-31J
    {"sjis_line_break_token", kSjis, "5C \\n~", u"5C \\n~", 0},
    {"sjis_wave_dash", kSjis, "\x81\x60", u"\uFF5E", 0},                         // ～
    {"sjis_parallel_and_minus", kSjis, "\x81\x61\x81\x7C", u"\u2225\uFF0D", 0},  // ∥－
    {"sjis_cent_pound_not", kSjis, "\x81\x91\x81\x92\x81\xCA", u"\uFFE0\uFFE1\uFFE2", 0},
    {"sjis_nec_row_13", kSjis, "\x87\x40", u"\u2460", 0},        // ①
    {"sjis_nec_selected_ibm", kSjis, "\xED\x40", u"\u7E8A", 0},  // 纊
    {"sjis_ibm_extension", kSjis, "\xFA\x40", u"\u2170", 0},     // ⅰ
    {"sjis_controls_stay", kSjis, "\x1A\x1C\x7F", u"\x1A\x1C\x7F", 0},
    {"sjis_lead_at_end", kSjis, "A\x82", u"A\uFFFD", 1},
    {"sjis_lead_before_space", kSjis, "\x82 ", u"\uFFFD ", 1},
    {"sjis_unassigned_pair", kSjis, "\x85\x40", u"\uFFFD", 1},
    {"sjis_undefined_bytes", kSjis, "\x80\xA0\xFD", u"\uFFFD\uFFFD\uFFFD", 3},
    // EUC-JP
    {"euc_line_break_token", kEuc, "5C \\n~", u"5C \\n~", 0},
    {"euc_wave_dash", kEuc, "\xA1\xC1", u"\uFF5E", 0},                         // ～
    {"euc_parallel_and_minus", kEuc, "\xA1\xC2\xA1\xDD", u"\u2225\uFF0D", 0},  // ∥－
    {"euc_cent_pound_not", kEuc, "\xA1\xF1\xA1\xF2\xA2\xCC", u"\uFFE0\uFFE1\uFFE2", 0},
    {"euc_nec_row_13", kEuc, "\xAD\xA1", u"\u2460", 0},           // ①
    {"euc_nec_selected_ibm", kEuc, "\xF9\xA1", u"\u7E8A", 0},     // 纊
    {"euc_jis_x_0212", kEuc, "\x8F\xB0\xA1\x41", u"\u4E02A", 0},  // 丂A
    {"euc_controls_stay", kEuc, "\x1A\x1C\x7F", u"\x1A\x1C\x7F", 0},
    {"euc_lead_before_ascii", kEuc, "\xA4\x41", u"\uFFFDA", 1},
    {"euc_kana_shift_before_ascii", kEuc, "\x8E\x41", u"\uFFFDA", 1},
    {"euc_lead_at_end", kEuc, "\xA4\xA2\xA4", u"あ\uFFFD", 1},
    {"euc_unassigned_row", kEuc, "\xA9\xA1", u"\uFFFD", 1},
    {"euc_stray_bytes", kEuc, "\x80\xFF", u"\uFFFD\uFFFD", 2},
    // ISO-2022-JP
    {"jis_kanji_between_escapes", kJis, "\x1B$B$\"$$$&\x1B(B!", u"あいう!", 0},
    {"jis_old_kanji_escape", kJis, "\x1B$@$\"\x1B(B", u"あ", 0},
    {"jis_wave_dash_parallel_minus", kJis, "\x1B$B!A!B!]\x1B(B", u"\uFF5E\u2225\uFF0D", 0},
    {"jis_cent_pound_not", kJis, "\x1B$B!q!r\"L\x1B(B", u"\uFFE0\uFFE1\uFFE2", 0},
    {"jis_nec_row_13", kJis, "\x1B$B-!\x1B(B", u"\u2460", 0},  // ①
    {"jis_roman_line_break_token", kJis, "\x1B(J\\n~\x1B(B", u"\\n~", 0},
    {"jis_halfwidth_kana", kJis, "\x1B(I1\x1B(B", u"ｱ", 0},
    {"jis_x_0212", kJis, "\x1B$(D0!\x1B(B", u"\u4E02", 0},  // 丂
    {"jis_line_end_inside_kanji", kJis, "\x1B$B$\"\r\n$$\x1B(B", u"あ\r\nい", 0},
    {"jis_unknown_escape", kJis, "\x1B(ZA", u"\uFFFD(ZA", 1},
    {"jis_escape_cut_at_end", kJis, "A\x1B$", u"A\uFFFD$", 1},
    {"jis_kanji_cut_at_end", kJis, "\x1B$B$", u"\uFFFD", 1},
    {"jis_eight_bit_bytes", kJis, "\x82\xA0", u"\uFFFD\uFFFD", 2},
    {"jis_kana_out_of_range", kJis, "\x1B(I`", u"\uFFFD", 1},
    // UTF-8 through the charset name
    {"utf8_bom_kept", kUtf8, "\xEF\xBB\xBF\x41", u"\uFEFFA", 0},
    {"utf8_invalid_byte", kUtf8, "A\xFF\x42", u"A\uFFFDB", 1},
    {"utf8_cut_sequence", kUtf8, "\xE3\x81", u"\uFFFD", 1},
    {"utf8_encoded_surrogate", kUtf8, "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", 3},
    // UTF-7, read leniently
    {"utf7_escaped_plus", kUtf7, "2B +-", u"2B +", 0},
    {"utf7_escaped_plus_alone", kUtf7, "+-", u"+", 0},
    {"utf7_raw_line_break_token", kUtf7, "5C \\n", u"5C \\n", 0},
    {"utf7_raw_tilde", kUtf7, "7E ~", u"7E ~", 0},
    {"utf7_line_ends_kept", kUtf7, "41 A\r\n42 B", u"41 A\r\n42 B", 0},
    {"utf7_shift_closed_by_dash", kUtf7, "+AGEAYgBj-", u"abc", 0},
    {"utf7_shift_ended_by_space", kUtf7, "+AGE x", u"a x", 0},
    {"utf7_only_one_dash_absorbed", kUtf7, "+AGE--", u"a-", 0},
    {"utf7_plus_before_space_stands_for_itself", kUtf7, "+ x", u"+ x", 0},
    {"utf7_plus_at_end_stands_for_itself", kUtf7, "A+", u"A+", 0},
    {"utf7_plus_as_base64_inside_shift", kUtf7, "++wA-", u"\uFB00", 0},  // ﬀ
    {"utf7_tricky_japanese", kUtf7, "+/14iJf8N/+D/4f/iJGD/cTBC-", u"～∥－￠￡￢①ｱあ", 0},
    {"utf7_surrogate_pair", kUtf7, "+2D3eAA-", u"\xD83D\xDE00", 0},
    {"utf7_unpaired_surrogate_kept", kUtf7, "+2D0-", u"\xD83D", 0},
    {"utf7_leftover_bits_dropped", kUtf7, "+AG-A", u"A", 0},
    {"utf7_high_byte_substituted", kUtf7, "A\x82", u"A\uFFFD", 1},
    {"utf7_high_byte_ends_shift", kUtf7, "+AGE\x82\x82", u"a\uFFFD\uFFFD", 2},
    // UTF-16LE
    {"utf16_bom_dropped", kUtf16, "\xFF\xFE\x41\0"sv, u"A", 0},
    {"utf16_without_bom", kUtf16, "A\0B0"sv, u"Aあ", 0},
    {"utf16_big_endian_mark_kept", kUtf16, "\xFE\xFF\x41\0"sv, u"\uFFFEA", 0},
    {"utf16_later_bom_kept", kUtf16, "A\0\xFF\xFE"sv, u"A\uFEFF", 0},
    {"utf16_lone_last_byte_ignored", kUtf16, "A\0B"sv, u"A", 0},
    {"utf16_unpaired_surrogate_kept", kUtf16, "=\xD8\x41\0"sv, u"\xD83D\x41", 0},
    {"utf16_only_bom", kUtf16, "\xFF\xFE", u"", 0},
};

ZELKORA_TEST_CASES(ModADOS, Decode, TextAndSubstitutions, kDecodeCases) {
    const DecodeCase& c = GetParam();
    std::size_t substitutions = 99;
    EXPECT_EQ(c.decode(AsBytes(c.bytes), &substitutions), c.text);
    EXPECT_EQ(substitutions, c.substitutions);
}

TEST(ModADOS, OneTextInSixEncodingsDecodesAlike) {
    // ～∥－￠￡￢①ｱあ\n~ and CR LF, as a table line would hold them.
    const std::u16string expected = u"～∥－￠￡￢①ｱあ\\n~\r\n";
    const Bytes sjis =
        AsBytes("\x81\x60\x81\x61\x81\x7C\x81\x91\x81\x92\x81\xCA\x87\x40\xB1\x82\xA0\\n~\r\n");
    const Bytes euc =
        AsBytes("\xA1\xC1\xA1\xC2\xA1\xDD\xA1\xF1\xA1\xF2\xA2\xCC\xAD\xA1\x8E\xB1\xA4\xA2\\n~\r\n");
    const Bytes jis = AsBytes("\x1B$B!A!B!]!q!r\"L-!\x1B(I1\x1B$B$\"\x1B(B\\n~\r\n");
    const Bytes utf7 = AsBytes("+/14iJf8N/+D/4f/iJGD/cTBC-\\n~\r\n");
    const Bytes utf8 = AsBytes(
        "\xEF\xBD\x9E\xE2\x88\xA5\xEF\xBC\x8D\xEF\xBF\xA0\xEF\xBF\xA1\xEF\xBF\xA2\xE2\x91\xA0"
        "\xEF\xBD\xB1\xE3\x81\x82\\n~\r\n");
    const Bytes utf16 =
        AsBytes({"\xFF\xFE\x5E\xFF\x25\x22\x0D\xFF\xE0\xFF\xE1\xFF\xE2\xFF\x60\x24\x71\xFF\x42\x30"
                 "\\\0n\0~\0\r\0\n\0",
                 30});
    EXPECT_EQ(FromShiftJIS(sjis), expected);
    EXPECT_EQ(FromEUCJP(euc), expected);
    EXPECT_EQ(FromISO2022JP(jis), expected);
    EXPECT_EQ(FromUTF7(utf7), expected);
    EXPECT_EQ(FromUTF8(utf8), expected);
    EXPECT_EQ(FromUTF16LE(utf16), expected);
}

TEST(ModADOS, CharsetNamesIgnoreCase) {
    EXPECT_EQ(DecodeWithCharset("euc-jp", AsBytes("\xA1\xC1")), u"\uFF5E");
    EXPECT_EQ(DecodeWithCharset("iso-2022-jp", AsBytes("\x1B$B!A\x1B(B")), u"\uFF5E");
    EXPECT_EQ(DecodeWithCharset("utf-7", AsBytes("~")), u"~");
}

TEST(ModADOS, UnknownCharsetGivesEmptyText) {
    std::size_t substitutions = 99;
    EXPECT_EQ(DecodeWithCharset("no-such-charset", AsBytes("A"), &substitutions), u"");
    EXPECT_EQ(substitutions, 0u);
    EXPECT_EQ(DecodeWithCharset("", AsBytes("A")), u"");
}

// ---- The shipped table stored in six encodings.

std::vector<std::uint8_t> ReadTable(std::string_view file) {
    std::ifstream in(std::string(ZELKORA_TEST_DATA "/tables/") + std::string(file),
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct TableCase : test::NamedCase {
    std::string_view file;
    Decoder decode;
};

constexpr TableCase kTableCases[] = {
    {"eucjp", "jis-common.eucjp.txt", kEuc},   {"iso2022jp", "jis-common.iso2022jp.txt", kJis},
    {"utf7", "jis-common.utf7.txt", kUtf7},    {"utf8", "jis-common.utf8.txt", kUtf8},
    {"utf16", "jis-common.utf16.txt", kUtf16},
};

ZELKORA_TEST_CASES(ModADOS, CommonTable, DecodesLikeTheShiftJisFile, kTableCases) {
    std::size_t substitutions = 99;
    const std::u16string reference = FromShiftJIS(ReadTable("jis-common.sjis.txt"), &substitutions);
    ASSERT_EQ(substitutions, 0u);
    // A comment line and 7017 entries, each ending in CR LF.
    ASSERT_EQ(std::count(reference.begin(), reference.end(), u'\n'), 7018);

    std::u16string text = GetParam().decode(ReadTable(GetParam().file), &substitutions);
    if (text.starts_with(u'\uFEFF')) {
        text.erase(0, 1);
    }
    EXPECT_EQ(substitutions, 0u);
    EXPECT_TRUE(text == reference)
        << "first difference at "
        << std::mismatch(text.begin(), text.end(), reference.begin(), reference.end()).first -
               text.begin();
}

}  // namespace
}  // namespace zelkora
