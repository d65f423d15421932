#include "tools/tables/TableMaker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/encoding/DecodeText.h"
#include "core/encoding/EncodingRegistry.h"
#include "core/encoding/modJudge.h"
#include "core/tables/TableReader.h"
#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

MakeTableRequest Request(const char* charset, std::optional<CodeRange> range = std::nullopt,
                         Encoding encoding = Encoding::UTF8) {
    MakeTableRequest request;
    request.charset = charset;
    request.range = range;
    request.encoding = encoding;
    return request;
}

using RangeCase = test::Case<const char*, std::optional<CodeRange>>;

const RangeCase kRangeCases[] = {
    {"one-byte", "20-7E", CodeRange{0x20, 0x7E}},
    {"two-byte-lower-case", "8140-84be", CodeRange{0x8140, 0x84BE}},
    {"single-code", "41-41", CodeRange{0x41, 0x41}},
    {"one-digit-ends", "0-F", CodeRange{0, 0xF}},
    {"reversed", "7E-20", std::nullopt},
    {"no-dash", "20", std::nullopt},
    {"empty-end", "20-", std::nullopt},
    {"not-hexadecimal", "G0-FF", std::nullopt},
    {"five-digits", "0-10000", std::nullopt},
    {"prefix", "0x20-0x7E", std::nullopt},
};

ZELKORA_TEST_CASES(Ranges, ParseCodeRangeTest, Parses, kRangeCases) {
    const auto range = ParseCodeRange(GetParam().input);
    ASSERT_EQ(range.has_value(), GetParam().expected.has_value());
    if (range) {
        EXPECT_EQ(range->from, GetParam().expected->from);
        EXPECT_EQ(range->to, GetParam().expected->to);
    }
}

struct LineCase : test::NamedCase {
    TableEntry entry;
    CodeForm form;
    std::u16string line;
};

constexpr auto kFileOrder = CodeForm::FileOrder;
constexpr auto kLeadByteFirst = CodeForm::LeadByteFirst;

const LineCase kLineCases[] = {
    {"one-byte", {0x41, false, u'A'}, kFileOrder, u"41 A"},
    {"one-byte-padded", {0x09, false, u'x'}, kFileOrder, u"09 x"},
    {"line-feed-as-token", {0x0A, false, u'\n'}, kFileOrder, u"0A \\n"},
    {"space-kept", {0x20, false, u' '}, kFileOrder, u"20  "},
    // The bytes 82 A0 reversed, so that the notation, lowest byte first, gives them in order.
    {"two-byte-in-file-order", {0x82A0, true, u'あ'}, kFileOrder, u"A082 あ"},
    {"two-byte-lead-byte-first", {0x82A0, true, u'あ'}, kLeadByteFirst, u"82A0 あ"},
    {"one-byte-alike-in-both-forms", {0x41, false, u'A'}, kLeadByteFirst, u"41 A"},
    {"two-byte-small-value-four-digits", {0x000A, true, u'\n'}, kLeadByteFirst, u"000A \\n"},
    {"ideographic-space", {0x8140, true, u'\u3000'}, kFileOrder, u"4081 \u3000"},
};

ZELKORA_TEST_CASES(Lines, EntryLineTest, WritesTheTableNotation, kLineCases) {
    EXPECT_EQ(EntryLine(GetParam().entry, GetParam().form), GetParam().line);
}

struct CollectCase : test::NamedCase {
    const char* charset;
    const char* range;
    bool privateUse;
    bool alternatives;
    std::size_t entries;
    std::size_t controls;
    std::size_t privateUseLeftOut;
    std::size_t oneWay;
    std::size_t noWayBack;
    bool twoByteFirst;
    std::size_t otherForms = 0;
    CodeForm form = CodeForm::FileOrder;
};

const CollectCase kCollectCases[] = {
    // LF, 95 printable ASCII and 63 half-width katakana; the other 32 controls are left out.
    {"windows-31j-one-byte", "windows-31j", "00-FF", false, false, 1 + 95 + 63, 32, 0, 0, 0, false},
    {"windows-31j-hiragana-row", "windows-31j", "829F-82F1", false, false, 83, 0, 0, 0, 0, false},
    // NEC-selected IBM extensions: every one also has an IBM code, which is what text gives.
    {"nec-selected-duplicates", "windows-31j", "ED40-ED4F", false, false, 0, 0, 0, 16, 0, false},
    {"nec-selected-duplicates-listed", "windows-31j", "ED40-ED4F", false, true, 16, 0, 0, 16, 0,
     false},
    {"user-defined-area-left-out", "windows-31j", "F040-F04F", false, false, 0, 0, 16, 0, 0, false},
    {"user-defined-area-kept", "windows-31j", "F040-F04F", true, false, 16, 0, 0, 0, 0, false},
    // Written lead byte first, one-byte codes equal the low bytes of two-byte codes: the pairs
    // go first. In file order a pair's low byte is its lead byte, never a one-byte code. 815C is
    // ― and 8150 ￣; the JIS form — of ― is listed too.
    {"windows-31j-mixed-lead-byte-first", "windows-31j", "00-8150", false, false, 1 + 95 + 63 + 17,
     32, 0, 0, 0, true, 0, CodeForm::LeadByteFirst},
    {"windows-31j-mixed", "windows-31j", "00-815C", false, false, 1 + 95 + 63 + 29 + 1, 32, 0, 0, 0,
     false, 1},
    {"euc-jp-hiragana-row", "EUC-JP", "A4A1-A4F3", false, false, 83, 0, 0, 0, 0, false},
    // 8EE0-8EE2 decode to ¢ £ ¬, which encode to nothing: not an alternative of any code.
    {"euc-jp-no-way-back", "EUC-JP", "8EDF-8EE2", false, true, 1, 0, 0, 0, 3, false},
    // The seven JIS forms, each on the line after the Microsoft form that EUC-JP holds.
    {"euc-jp-both-forms", "EUC-JP", "A1A1-A2FE", false, false, 94 + 53 + 7, 0, 0, 0, 0, false, 7},
    // Two-byte codes 0000-00FF: LF, printable ASCII and Latin-1 without its controls. UTF-16
    // holds both forms of each pair, so none is added.
    {"utf-16be-latin-1", "UTF-16BE", "0000-00FF", false, false, 1 + 95 + 96, 64, 0, 0, 0, false},
    // The range is in code units, whichever byte comes first.
    {"utf-16le-latin-1", "UTF-16LE", "0000-00FF", false, false, 1 + 95 + 96, 64, 0, 0, 0, false},
};

ZELKORA_TEST_CASES(Charsets, CollectCharsetTableTest, KeepsRoundTripCharacters, kCollectCases) {
    const CollectCase& c = GetParam();
    MakeTableRequest request = Request(c.charset, ParseCodeRange(c.range));
    request.privateUse = c.privateUse;
    request.alternatives = c.alternatives;
    request.form = c.form;
    const auto table = CollectCharsetTable(request);
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table->entries.size(), c.entries);
    EXPECT_EQ(table->otherForms, c.otherForms);
    EXPECT_EQ(table->controls, c.controls);
    EXPECT_EQ(table->privateUse, c.privateUseLeftOut);
    EXPECT_EQ(table->oneWay, c.oneWay);
    EXPECT_EQ(table->noWayBack, c.noWayBack);
    EXPECT_EQ(table->twoByteFirst, c.twoByteFirst);
}

TEST(CollectCharsetTable, UnknownCharsetGivesNothing) {
    EXPECT_FALSE(CollectCharsetTable(Request("no-such-charset")).has_value());
}

struct OrderCase : test::NamedCase {
    const char* charset;
    const char* range;
    CodeForm form;
    std::u16string_view first;  // the first and the last line written
    std::u16string_view last;
};

const OrderCase kOrderCases[] = {
    {"shift-jis-file-order", "windows-31j", "829F-82F1", kFileOrder, u"9F82 ぁ", u"F182 ん"},
    {"shift-jis-lead-byte-first", "windows-31j", "829F-82F1", kLeadByteFirst, u"829F ぁ",
     u"82F1 ん"},
    // One-byte codes would take the low byte of the pairs: the pairs come first.
    {"pairs-first-lead-byte-first", "windows-31j", "00-8140", kLeadByteFirst, u"8140 \u3000",
     u"DF ﾟ"},
    {"one-byte-first-in-file-order", "windows-31j", "00-8140", kFileOrder, u"0A \\n",
     u"4081 \u3000"},
    // In file order UTF-16LE codes are the code units, UTF-16BE codes their bytes reversed.
    {"utf-16le-file-order", "UTF-16LE", "3041-3042", kFileOrder, u"3041 ぁ", u"3042 あ"},
    {"utf-16be-file-order", "UTF-16BE", "3041-3042", kFileOrder, u"4130 ぁ", u"4230 あ"},
    // The charset's own form first, so that codes to text gives it.
    {"windows-31j-wave-dash", "windows-31j", "8160-8160", kFileOrder, u"6081 ～", u"6081 〜"},
    {"euc-jp-minus", "EUC-JP", "A1DD-A1DD", kFileOrder, u"DDA1 －", u"DDA1 −"},
};

ZELKORA_TEST_CASES(Charsets, EntryOrderTest, WritesCodesInChartOrder, kOrderCases) {
    const OrderCase& c = GetParam();
    MakeTableRequest request = Request(c.charset, ParseCodeRange(c.range));
    request.form = c.form;
    const auto table = CollectCharsetTable(request);
    ASSERT_TRUE(table.has_value());
    ASSERT_FALSE(table->entries.empty());
    EXPECT_EQ(EntryLine(table->entries.front(), c.form), c.first);
    EXPECT_EQ(EntryLine(table->entries.back(), c.form), c.last);
}

TEST(CollectCharsetTable, StatefulCharsetsGiveOnlyTheirSingleBytes) {
    // Without escape sequences ISO-2022-JP is ASCII; two bytes decode to two characters.
    const auto table = CollectCharsetTable(Request("ISO-2022-JP"));
    ASSERT_TRUE(table.has_value());
    EXPECT_TRUE(std::ranges::none_of(table->entries, &TableEntry::twoByte));
    EXPECT_EQ(table->entries.size(), 1u + 95u);
}

using StoreCase = test::Case<const char*, std::size_t>;

// One- and two-byte codes with the space, LF, backslash and plus entries, stored in each
// encoding: the reader must detect it and read back exactly the lines that were written.

// Shift_JIS and EUC-JP cannot hold the JIS forms 〜 − — ‖ ¢ £ ¬ (their decoders give the
// Microsoft forms).
const StoreCase kStoreCases[] = {
    {"shift-jis", "SJIS", 7},
    {"shift-jis-by-charset-name", "shift_jis", 7},
    {"euc-jp", "EUC", 7},
    // ISO-2022-JP holds no half-width katakana, nor the JIS forms.
    {"iso-2022-jp", "JIS", 63 + 7},
    {"utf-7", "UTF-7", 0},
    {"utf-8", "UTF8", 0},
    {"utf-16le", "UNICODE", 0},
};

ZELKORA_TEST_CASES(Encodings, MakeTableTest, ReadsBackThroughTheReader, kStoreCases) {
    const auto encoding = ParseTableEncoding(GetParam().input);
    ASSERT_TRUE(encoding.has_value());
    MakeTableRequest request = Request("windows-31j", CodeRange{0, 0x82FF}, *encoding);
    request.command = u"zelkora-cli make-table --charset windows-31j";
    const auto made = MakeTable(request);
    ASSERT_TRUE(made.has_value());
    EXPECT_TRUE(made->readsBack);
    EXPECT_EQ(DetectEncoding(made->bytes), *encoding);
    EXPECT_EQ(made->unstorable, GetParam().expected);

    const auto expected = CollectCharsetTable(request);
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(made->entries, expected->entries.size() - made->unstorable);

    // The lines read back are the lines generated, in order, less those left out.
    const CodeTable table = ParseTable(DecodeTableBytes(made->bytes));
    auto next = expected->entries.begin();
    std::size_t found = 0;
    for (std::size_t slot = 0; slot < table.size(); ++slot) {
        if (table.CodeTexts(slot).empty()) {
            continue;
        }
        const std::u16string line =
            std::u16string(table.CodeTexts(slot)) + u" " + std::u16string(table.Characters(slot));
        next = std::find_if(next, expected->entries.end(), [&](const TableEntry& entry) {
            return EntryLine(entry, request.form) == line;
        });
        ASSERT_NE(next, expected->entries.end()) << "line " << slot + 1;
        ++next;
        ++found;
    }
    EXPECT_EQ(found, made->entries);
}

TEST(MakeTable, WritesCrLfLinesWithACommentHeader) {
    MakeTableRequest request = Request("windows-31j", CodeRange{0x20, 0x22});
    request.title = u"Test title";
    const auto made = MakeTable(request);
    ASSERT_TRUE(made.has_value());
    std::u16string text = DecodeTableBytes(made->bytes);
    ASSERT_TRUE(text.starts_with(u"// Test title\r\n"));
    EXPECT_TRUE(text.ends_with(u"\r\n20  \r\n21 !\r\n22 \"\r\n"));
    // Every line ends in CR LF: no lone LF or CR.
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == u'\n') {
            ASSERT_GT(at, 0u);
            EXPECT_EQ(text[at - 1], u'\r');
        }
    }
}

TEST(MakeTable, Utf16StartsWithItsByteOrderMark) {
    const auto made = MakeTable(Request("UTF-16LE", CodeRange{0x41, 0x41}, Encoding::Unicode));
    ASSERT_TRUE(made.has_value());
    ASSERT_GE(made->bytes.size(), 2u);
    EXPECT_EQ(made->bytes[0], 0xFF);
    EXPECT_EQ(made->bytes[1], 0xFE);
    EXPECT_TRUE(DecodeTableBytes(made->bytes).ends_with(u"\r\n0041 A\r\n"));
}

TEST(MakeTable, UnknownCharsetGivesNothing) {
    EXPECT_FALSE(MakeTable(Request("no-such-charset")).has_value());
}

// A known charset whose table cannot be stored is not reported as an unknown charset. An
// encoding outside the six stands for one the converter library was built without.
TEST(MakeTable, StoringFailureToldApartFromUnknownCharset) {
    const auto unstorable = static_cast<Encoding>(kEncodings.size());
    const auto unstored = MakeTable(Request("windows-31j", CodeRange{0x41, 0x41}, unstorable));
    EXPECT_FALSE(unstored);
    EXPECT_EQ(unstored.error(), MakeTableFailure::CannotStore);
    const auto unknown = MakeTable(Request("no-such-charset"));
    EXPECT_FALSE(unknown);
    EXPECT_EQ(unknown.error(), MakeTableFailure::UnknownCharset);
}

}  // namespace
}  // namespace zelkora
