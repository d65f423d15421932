#include "cli/ConversionReport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/TextLines.h"
#include "core/engine/CodeToText.h"
#include "core/engine/TextToCode.h"
#include "core/tables/TableReader.h"
#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

using cli::UnmatchedCharactersReport;
using cli::UnmatchedCodesReport;

struct PositionCase : test::NamedCase {
    std::u16string text;
    std::size_t offset;
    std::size_t line;
    std::size_t column;
};

const PositionCase kPositionCases[] = {
    {"first", u"abc", 0, 1, 1},
    {"same-line", u"abc", 2, 1, 3},
    {"after-cr-lf", u"a\r\nb", 3, 2, 1},
    {"after-lf", u"a\nb", 2, 2, 1},
    {"after-lone-cr", u"a\rb", 2, 2, 1},
    {"on-the-lf-of-cr-lf", u"a\r\nb", 2, 1, 2},
    {"empty-lines", u"\r\n\r\nx", 4, 3, 1},
    {"surrogate-pair-is-one-column", u"😀x", 2, 1, 2},
};

ZELKORA_TEST_CASES(Positions, PositionOfTest, CountsAsAnEditorDoes, kPositionCases) {
    const TextPosition p = PositionOf(GetParam().text, GetParam().offset);
    EXPECT_EQ(p.line, GetParam().line);
    EXPECT_EQ(p.column, GetParam().column);
}

struct ReportCase : test::NamedCase {
    std::u16string input;
    std::vector<std::size_t> offsets;
    std::string report;
};

const ReportCase kCharacterCases[] = {
    {"nothing", u"AB", {}, ""},
    {"one", u"AxB", {1}, "1 character had no code:\n  line 1, column 2: \"x\"\n"},
    {"second-line",
     u"A\r\nxy",
     {3, 4},
     "2 characters had no code:\n  line 2, column 1: \"x\"\n  line 2, column 2: \"y\"\n"},
    {"pair-counts-once", u"A😀", {1, 2}, "1 character had no code:\n  line 1, column 2: \"😀\"\n"},
    {"control-escaped", u"a\tb", {1}, "1 character had no code:\n  line 1, column 2: \"\\x09\"\n"},
    {"only-the-first-shown",
     u"xyz",
     {0, 1, 2},
     "3 characters had no code, the first 2:\n  line 1, column 1: \"x\"\n"
     "  line 1, column 2: \"y\"\n"},
};

// The offsets of a text cut in two at `cut`: those before it, and those after it counted from it.
std::pair<std::vector<std::size_t>, std::vector<std::size_t>> OffsetsAround(
    const std::vector<std::size_t>& offsets, std::size_t cut) {
    std::pair<std::vector<std::size_t>, std::vector<std::size_t>> parts;
    for (const std::size_t at : offsets) {
        (at < cut ? parts.first : parts.second).push_back(at - (at < cut ? 0 : cut));
    }
    return parts;
}

// Whole, and in two pieces cut anywhere but inside a surrogate pair or a CR LF, as a text read
// a block at a time comes.
ZELKORA_TEST_CASES(Characters, UnmatchedCharactersReportTest, Reports, kCharacterCases) {
    const std::u16string_view text = GetParam().input;
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        if (cut > 0 && cut < text.size() &&
            (CharacterAt(text, cut - 1).size() == 2 || LineEndAt(text, cut - 1) == 2)) {
            continue;
        }
        const auto [first, second] = OffsetsAround(GetParam().offsets, cut);
        UnmatchedCharactersReport report(2);
        report.Add(text.substr(0, cut), first);
        report.Add(text.substr(cut), second, PositionOf(text, cut));
        EXPECT_EQ(report.Text(), GetParam().report) << "cut at " << cut;
    }
}

const ReportCase kCodeCases[] = {
    {"nothing", u"41 42", {}, ""},
    {"one", u"41 ZZ 42", {3}, "1 code had no entry:\n  element 2: \"ZZ\"\n"},
    // Empty elements between two spaces are not counted.
    {"after-double-space", u"41  4A", {4}, "1 code had no entry:\n  element 2: \"4A\"\n"},
    {"first-and-last",
     u"4A 41 4B",
     {0, 6},
     "2 codes had no entry:\n  element 1: \"4A\"\n  element 3: \"4B\"\n"},
    {"line-end-in-element",
     u"41 4A\r\n",
     {3},
     "1 code had no entry:\n  element 2: \"4A\\x0D\\x0A\"\n"},
    {"only-the-first-shown",
     u"4A 4B 4C",
     {0, 3, 6},
     "3 codes had no entry, the first 2:\n  element 1: \"4A\"\n  element 2: \"4B\"\n"},
};

// Whole, and in two pieces cut at the start of any element, as codes read a block at a time come.
ZELKORA_TEST_CASES(Codes, UnmatchedCodesReportTest, Reports, kCodeCases) {
    const std::u16string_view codes = GetParam().input;
    for (std::size_t cut = 0; cut <= codes.size(); ++cut) {
        if (cut > 0 && codes[cut - 1] != u' ') {
            continue;
        }
        const auto [first, second] = OffsetsAround(GetParam().offsets, cut);
        UnmatchedCodesReport report(2);
        report.Add(codes.substr(0, cut), first);
        report.Continue(codes.substr(cut), second);
        EXPECT_EQ(report.Text(), GetParam().report) << "cut at " << cut;
    }
}

// The conversions list what they could not convert, at the offsets the reports expect.
struct UnmatchedCase : test::NamedCase {
    bool toCodes;
    std::u16string input;
    bool lineBreakOption;
    std::vector<std::size_t> offsets;
};

const UnmatchedCase kUnmatchedCases[] = {
    {"text-all-known", true, u"AあA", false, {}},
    {"text-unknown", true, u"AxAy", false, {1, 3}},
    {"text-line-break-token", true, u"x\\nA", false, {0}},
    // With the option on a CR LF is one group; off, CR and LF are two unknown characters.
    {"text-cr-lf-option-on", true, u"A\r\nz", true, {3}},
    {"text-cr-lf-option-off", true, u"A\r\nz", false, {1, 2, 3}},
    {"text-pair-halves", true, u"😀", false, {0, 1}},
    {"codes-all-known", false, u"41 42 30 0A", false, {}},
    {"codes-unknown-byte", false, u"41 4A 41", false, {3}},
    {"codes-unreadable-element", false, u"41 ?? 41", false, {3}},
    {"codes-last-element", false, u"41  7F", false, {4}},
};

ZELKORA_TEST_CASES(Conversions, UnmatchedOffsetsTest, ListsEachGroupOrElementNotConverted,
                   kUnmatchedCases) {
    const CodeTable table = ParseTable(u"41 A\r\n3042 あ\r\n0A \\n\r\n");
    const UnmatchedCase& c = GetParam();
    std::vector<std::size_t> offsets;
    const std::u16string withList = c.toCodes
                                        ? fTextToCode(table, c.input, c.lineBreakOption, &offsets)
                                        : fCodeToText(table, c.input, c.lineBreakOption, &offsets);
    const std::u16string without = c.toCodes ? fTextToCode(table, c.input, c.lineBreakOption)
                                             : fCodeToText(table, c.input, c.lineBreakOption);
    EXPECT_EQ(offsets, c.offsets);
    EXPECT_EQ(withList, without);
}

}  // namespace
}  // namespace zelkora
