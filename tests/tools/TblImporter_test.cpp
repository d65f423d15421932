#include "tools/tables/TblImporter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/encoding/DecodeText.h"
#include "core/encoding/modJudge.h"

#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

using K = TblIssueKind;

struct Issue {
    TblIssueKind kind;
    std::size_t line;

    bool operator==(const Issue&) const = default;
};

void PrintTo(const Issue& i, std::ostream* os) {
    *os << "{kind " << static_cast<int>(i.kind) << ", line " << i.line << "}";
}

struct ImportCase : test::NamedCase {
    std::string input;    // the bytes of the "XX=char" file
    std::u16string body;  // the lines after the header, each ended by CR LF
    std::vector<Issue> issues;
    Encoding encoding = Encoding::UTF8;
    CodeForm form = CodeForm::FileOrder;
};

std::vector<std::uint8_t> Bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

const ImportCase kImportCases[] = {
    {"entries", "41=A\r\n42=B\r\n", u"41 A\r\n42 B\r\n", {}},
    {"lower-case-code", "8a=x\r\n", u"8A x\r\n", {}},
    {"lone-space-kept", "20= \r\n", u"20  \r\n", {}},
    // A code is bytes in file order (82 A0), which the notation gives from A082.
    {"utf-8-two-byte",
     "82A0=\xE3\x81\x82\r\n8140=\xE3\x80\x80\r\n",
     u"A082 あ\r\n4081 \u3000\r\n",
     {}},
    {"codes-kept-lead-byte-first",
     "82a0=\xE3\x81\x82\r\n",
     u"82A0 あ\r\n",
     {},
     Encoding::UTF8,
     CodeForm::LeadByteFirst},
    {"lf-and-cr-line-ends", "41=A\n42=B\r43=C", u"41 A\r\n42 B\r\n43 C\r\n", {}},
    {"comment", "# letters\r\n41=A\r\n", u"// letters\r\n41 A\r\n", {}},
    {"plain-line-breaks", "*FE\r\nFF=\\n\r\n", u"FE \\n\r\nFF \\n\r\n", {}},
    {"multi-character-kept", "80=th\r\n", u"80 th\r\n", {}},
    // Longest match in the source format: the pair must come before its low byte here. In file
    // order the pair's low byte is its lead byte, 81, which is no one-byte code.
    {"pairs-moved-first",
     "41=A\r\n# pair\r\n8141=X\r\n",
     u"// pair\r\n8141 X\r\n41 A\r\n",
     {},
     Encoding::UTF8,
     CodeForm::LeadByteFirst},
    {"pairs-kept-in-place-in-file-order",
     "41=A\r\n# pair\r\n8141=X\r\n",
     u"41 A\r\n// pair\r\n4181 X\r\n",
     {}},
    {"shift-jis-source", "8391=\x83\x91\r\n", u"9183 ヱ\r\n", {}},
    {"end-token", "41=A\r\n/FF=<end>\r\n", u"41 A\r\n", {{K::EndToken, 2}}},
    {"control-code", "$F0=<wait>,%2X\r\n41=A\r\n", u"41 A\r\n", {{K::ControlCode, 1}}},
    {"table-switches",
     "@main\r\n!F5=[kanji],0\r\n41=A\r\n",
     u"41 A\r\n",
     {{K::TableSwitch, 1}, {K::TableSwitch, 2}}},
    {"long-code", "818283=abc\r\n41=A\r\n", u"41 A\r\n", {{K::LongCode, 1}}},
    {"odd-digits", "123=x\r\n41=A\r\n", u"41 A\r\n", {{K::OddDigits, 1}}},
    {"not-hexadecimal",
     "G1=x\r\n=y\r\n41=A\r\n",
     u"41 A\r\n",
     {{K::NotHexadecimal, 1}, {K::NotHexadecimal, 2}}},
    {"not-an-entry", "hello\r\n41=A\r\n", u"41 A\r\n", {{K::NotAnEntry, 1}}},
    {"empty-character", "41=\r\n42=B\r\n", u"42 B\r\n", {{K::EmptyCharacter, 1}}},
    // Written as the reader will read it, and reported.
    {"outer-spaces",
     "80=the \r\n81=  \r\n",
     u"80 the\r\n",
     {{K::SpacesLost, 1}, {K::SpacesLost, 2}}},
    {"line-break-with-text", "*FE=<br>\r\n", u"FE \\n\r\n", {{K::LineBreakText, 1}}},
    {"unstorable", "41=A\r\nE9=\xC3\xA9\r\n", u"41 A\r\n", {{K::Unstorable, 2}}, Encoding::SJIS},
    {"stored-as-euc", "82A0=\xE3\x81\x82\r\n", u"A082 あ\r\n", {}, Encoding::EUC},
    {"stored-as-jis", "82A0=\xE3\x81\x82\r\n", u"A082 あ\r\n", {}, Encoding::JIS},
    {"stored-as-utf-7", "2B=+\r\n", u"2B +\r\n", {}, Encoding::UTF7},
    {"stored-as-utf-16le", "41=A\r\n", u"41 A\r\n", {}, Encoding::Unicode},
};

ZELKORA_TEST_CASES(Tbl, ImportTblTest, CarriesOverWhatItCanAndReportsTheRest, kImportCases) {
    const ImportCase& c = GetParam();
    const ImportedTable imported = ImportTbl(Bytes(c.input), u"test.tbl", c.encoding, c.form);
    const std::u16string text = DecodeTableBytes(imported.bytes);
    EXPECT_EQ(DetectEncoding(imported.bytes), c.encoding);
    EXPECT_TRUE(text.starts_with(u"// 「test.tbl」から"));
    EXPECT_TRUE(text.ends_with(u"\r\n" + c.body)) << std::string(text.begin(), text.end());
    std::vector<Issue> issues;
    for (const TblIssue& issue : imported.issues) {
        issues.push_back({issue.kind, issue.line});
    }
    EXPECT_EQ(issues, c.issues);
}

TEST(ImportTbl, CountsEntriesAndNotesTheReordering) {
    const ImportedTable imported = ImportTbl(Bytes("41=A\r\n8141=X\r\n/00\r\n"), u"t.tbl",
                                             Encoding::UTF8, CodeForm::LeadByteFirst);
    EXPECT_EQ(imported.entries, 2u);
    EXPECT_TRUE(imported.twoByteFirst);
    EXPECT_NE(DecodeTableBytes(imported.bytes).find(u"2 バイトのコードを 1 バイトのコードより前"),
              std::u16string::npos);
}

TEST(FormatTblIssues, NamesFileAndLine) {
    const ImportedTable imported =
        ImportTbl(Bytes("41=A\r\n/FF=<end>\r\n"), u"t.tbl", Encoding::UTF8);
    EXPECT_EQ(FormatTblIssues(imported, "t.tbl", Encoding::UTF8),
              "t.tbl:2: end token \"/FF=<end>\": tables here have no end tokens, left out\n");
}

}  // namespace
}  // namespace zelkora
