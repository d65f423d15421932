#include "tools/tables/TableChecker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/FileBytes.h"

#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

using K = FindingKind;

struct Expected {
    FindingKind kind;
    std::size_t line;
    std::size_t otherLine = 0;

    bool operator==(const Expected&) const = default;
};

void PrintTo(const Expected& e, std::ostream* os) {
    *os << "{kind " << static_cast<int>(e.kind) << ", line " << e.line << ", other " << e.otherLine
        << "}";
}

struct CheckCase : test::NamedCase {  // also the file under tests/data/tools/check/, without ".txt"
    std::vector<Expected> findings;
    bool changesMeaning;
};

std::vector<std::uint8_t> ReadCase(const std::string& name) {
    const auto bytes =
        ReadFileBytes(std::string(ZELKORA_TEST_DATA) + "/tools/check/" + name + ".txt");
    EXPECT_TRUE(bytes.has_value()) << name;
    return bytes.value_or(std::vector<std::uint8_t>{});
}

// One small table per thing the checker reports; line numbers are as an editor counts them.

const CheckCase kCheckCases[] = {
    {"clean", {}, false},
    // Pairs first: codes to text reads a pair before a one-byte code can take its low byte.
    {"two-byte-first", {}, false},
    {"lf-only", {{K::LfOnly, 0}}, false},
    {"close-detection", {{K::CloseDetection, 0}}, false},
    // A lone LF ends a line as CR LF does, so the duplicate is on editor line 5.
    {"mixed-line-ends", {{K::MixedLineEnds, 0}, {K::DuplicateCode, 5, 4}}, false},
    {"lone-cr", {{K::LoneLineEnd, 1}, {K::NeverMatched, 1}}, true},
    {"substituted", {{K::Substituted, 0}, {K::Substituted, 3}}, true},
    // Its first byte beyond ASCII comes after 1000 bytes of comments and scores no better as
    // UTF-8 than as Shift_JIS: UTF-8 throughout decides.
    {"utf8-throughout", {}, false},
    {"short-line", {{K::ShortLine, 2}}, true},
    {"no-space", {{K::NoSpace, 2}}, true},
    {"empty-code-field", {{K::EmptyCodeField, 2}}, true},
    {"not-hexadecimal", {{K::NotHexadecimal, 2}}, true},
    {"too-large", {{K::TooLarge, 2}, {K::LongCode, 3}}, true},
    {"long-code", {{K::LongCode, 2}}, true},
    {"empty-character", {{K::EmptyCharacter, 2}, {K::EmptyCharacter, 3}}, true},
    {"trimmed-spaces", {{K::TrimmedSpaces, 1}, {K::TrimmedSpaces, 2}}, true},
    {"several-characters", {{K::NeverMatched, 2}}, true},
    // 0041 is a two-byte code: no duplicate of 41, but 41 above it takes its low byte.
    {"duplicate-code", {{K::ShadowingOneByte, 1, 3}, {K::DuplicateCode, 4, 1}}, true},
    {"duplicate-character", {{K::DuplicateCharacter, 2, 1}}, false},
    // Code and character both come earlier: the line does nothing.
    {"unused-line", {{K::UnusedLine, 3, 1}}, true},
    // Pairs first: "41 E8 82" (A り) reads as E841 錢.
    {"misread-pair", {{K::MisreadPair, 0, 1}}, false},
    {"shadowing", {{K::ShadowingOneByte, 1, 2}, {K::ShadowingOneByte, 4, 5}}, true},
    {"empty-file", {{K::EmptyFile, 0}}, true},
    {"no-text", {{K::NoText, 0}}, true},
    {"not-a-text-file", {{K::NotTextFile, 2}}, true},
};

ZELKORA_TEST_CASES(Tables, CheckTableTest, ReportsWhatChangesTheTable, kCheckCases) {
    const std::vector<std::uint8_t> bytes = ReadCase(std::string(GetParam().name));
    const TableCheck check = CheckTable(bytes);
    std::vector<Expected> found;
    for (const Finding& f : check.findings) {
        const bool hasOther = f.kind == K::DuplicateCode || f.kind == K::DuplicateCharacter ||
                              f.kind == K::UnusedLine || f.kind == K::ShadowingOneByte ||
                              f.kind == K::MisreadPair;
        found.push_back({f.kind, f.line, hasOther ? f.otherLine : 0});
    }
    EXPECT_EQ(found, GetParam().findings);
    EXPECT_EQ(check.ChangesMeaning(), GetParam().changesMeaning);
    // Written as the check goes, the report is the one made from the findings kept.
    std::string written;
    const TableCheck streamed =
        WriteTableCheck(bytes, "t.txt", false, [&](std::string_view piece) { written += piece; });
    EXPECT_EQ(written, FormatTableCheck(check, "t.txt", false));
    EXPECT_EQ(streamed.ChangesMeaning(), GetParam().changesMeaning);
}

TEST(CheckTable, CountsLinesOfEachKind) {
    const TableCheck check = CheckTable(ReadCase("clean"));
    EXPECT_EQ(check.encoding, Encoding::UTF8);
    EXPECT_EQ(check.scores[Encoding::UTF8], 9999);
    EXPECT_EQ(check.tableLines, 9u);
    EXPECT_EQ(check.entries, 6u);
    EXPECT_EQ(check.oneByte, 5u);
    EXPECT_EQ(check.twoByte, 1u);
    EXPECT_EQ(check.comments, 1u);
    EXPECT_EQ(check.blank, 2u);
}

TEST(CheckTable, ShadowingCountsEveryPairBelow) {
    const TableCheck check = CheckTable(ReadCase("shadowing"));
    ASSERT_FALSE(check.findings.empty());
    EXPECT_EQ(check.findings.front().count, 2u);
    EXPECT_EQ(check.findings.front().other, u"8141");
}

TEST(CheckTable, MisreadPairGivesOneExample) {
    const TableCheck check = CheckTable(ReadCase("misread-pair"));
    ASSERT_EQ(check.findings.size(), 1u);
    EXPECT_EQ(check.findings.front().text, u"41 then E8 82 reads as E841");
    EXPECT_EQ(check.findings.front().other, u"錢");
}

TEST(CheckTable, TrimmedCharacterShowsWhatIsRead) {
    const TableCheck check = CheckTable(ReadCase("trimmed-spaces"));
    ASSERT_EQ(check.findings.size(), 2u);
    EXPECT_EQ(check.findings[0].text, u" A");
    EXPECT_EQ(check.findings[0].other, u"A");
}

TEST(FormatTableCheck, NamesFileAndLineLikeACompiler) {
    const std::string report = FormatTableCheck(CheckTable(ReadCase("short-line")), "t.txt", false);
    EXPECT_NE(report.find("t.txt: encoding SJIS (JIS 50, UNICODE 0,"), std::string::npos) << report;
    EXPECT_NE(report.find("\nt.txt:2: \"42\" is ignored"), std::string::npos) << report;
    EXPECT_TRUE(report.ends_with("1 problem, 0 notes\n")) << report;
}

TEST(FormatTableCheck, QuietGivesOnlyTheTotals) {
    const std::string report =
        FormatTableCheck(CheckTable(ReadCase("duplicate-character")), "t.txt", true);
    EXPECT_EQ(report,
              "t.txt: 3 lines, 2 entries (2 one-byte, 0 two-byte), 0 comments, 1 blank; "
              "0 problems, 1 note\n");
}

TEST(FormatTableCheck, ShowsAControlCharacterAsAnEscape) {
    const std::string report = FormatTableCheck(CheckTable(ReadCase("lone-cr")), "t.txt", false);
    EXPECT_NE(report.find("\"A\\x0D42 B\""), std::string::npos) << report;
}

}  // namespace
}  // namespace zelkora
