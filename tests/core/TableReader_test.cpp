#include "core/tables/TableReader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "cli/SlotDump.h"
#include "core/encoding/Utf8.h"
#include "core/engine/CodeToText.h"
#include "core/engine/TextToCode.h"
#include "tests/core/EngineTable.h"
#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

namespace fs = std::filesystem;

const fs::path kData = ZELKORA_TEST_DATA;

struct Slot {
    std::size_t index;
    std::u16string codeText;
    std::int32_t code;
    std::u16string character;
};

struct ParseCase : test::NamedCase {
    std::u16string text;
    std::size_t slots;
    std::vector<Slot> filled;  // every other slot must be empty
};

void ExpectSlots(const CodeTable& table, std::size_t slots, const std::vector<Slot>& filled) {
    ASSERT_EQ(table.size(), slots);
    std::vector<bool> expectFilled(slots, false);
    for (const Slot& slot : filled) {
        ASSERT_LT(slot.index, slots);
        expectFilled[slot.index] = true;
        EXPECT_EQ(table.CodeTexts(slot.index), slot.codeText) << "slot " << slot.index;
        EXPECT_EQ(table.Codes(slot.index), slot.code) << "slot " << slot.index;
        EXPECT_EQ(table.Characters(slot.index), slot.character) << "slot " << slot.index;
    }
    for (std::size_t i = 0; i < slots; ++i) {
        if (!expectFilled[i]) {
            EXPECT_TRUE(table.CodeTexts(i).empty() && table.Characters(i).empty() &&
                        table.Codes(i) == 0)
                << "slot " << i << " should be empty";
        }
    }
}

const ParseCase kParseCases[] = {
    // Line kinds.
    {"three-characters-is-an-entry", u"4 A", 1, {{0, u"4", 4, u"A"}}},
    {"one-character-and-space-is-short", u"4 ", 1, {}},
    {"spaces-only-is-blank", u"     ", 1, {}},
    {"comment-after-code-is-character", u"41 //x", 1, {{0, u"41", 0x41, u"//x"}}},
    {"no-space-keeps-whole-line", u"ABC", 1, {{0, u"", 0, u"ABC"}}},
    {"only-first-space-splits", u"82 A0 x", 1, {{0, u"82", 0x82, u"A0 x"}}},
    // Trimming touches U+0020 only.
    {"lone-ideographic-space", u"8140 \u3000", 1, {{0, u"8140", 0x8140, u"\u3000"}}},
    {"ideographic-space-not-trimmed", u"41 \u3000A\u3000", 1, {{0, u"41", 0x41, u"\u3000A\u3000"}}},
    {"spaces-around-ideographic-space-trimmed", u"41  \u3000 ", 1, {{0, u"41", 0x41, u"\u3000"}}},
    {"tab-not-trimmed", u"41 A\t", 1, {{0, u"41", 0x41, u"A\t"}}},
    // Code fields.
    {"lower-case-digits", u"8a x", 1, {{0, u"8a", 0x8A, u"x"}}},
    {"non-hex-digit-reads-zero", u"82G0 x", 1, {{0, u"82G0", 0, u"x"}}},
    {"full-width-digit-is-not-hex", u"\uFF14\uFF11 x", 1, {{0, u"\uFF14\uFF11", 0, u"x"}}},
    {"largest-32-bit-value-is-minus-one", u"FFFFFFFF x", 1, {{0, u"FFFFFFFF", -1, u"x"}}},
    {"top-bit-set",
     u"80000000 x",
     1,
     {{0, u"80000000", std::numeric_limits<std::int32_t>::min(), u"x"}}},
    {"nine-digits-too-large", u"100000000 x", 1, {{0, u"100000000", 0, u"x"}}},
    {"leading-zeros-still-fit", u"000000041 x", 1, {{0, u"000000041", 0x41, u"x"}}},
    // Line ends.
    {"trailing-crlf-adds-empty-slot",
     u"41 A\r\n42 B\r\n",
     3,
     {{0, u"41", 0x41, u"A"}, {1, u"42", 0x42, u"B"}}},
    {"lf-only-cut-at-lf", u"41 A\n\n42 B\n", 4, {{0, u"41", 0x41, u"A"}, {2, u"42", 0x42, u"B"}}},
    {"lone-lf-ends-line-beside-crlf",
     u"41 A\n42 B\r\n43 C",
     3,
     {{0, u"41", 0x41, u"A"}, {1, u"42", 0x42, u"B"}, {2, u"43", 0x43, u"C"}}},
    {"lone-cr-does-not-end-line", u"41 A\r42 B", 1, {{0, u"41", 0x41, u"A\r42 B"}}},
    {"cr-before-crlf-stays-in-line",
     u"41 A\r\r\n42 B",
     2,
     {{0, u"41", 0x41, u"A\r"}, {1, u"42", 0x42, u"B"}}},
};

ZELKORA_TEST_CASES(Lines, ParseTableTest, FillsSlots, kParseCases) {
    ExpectSlots(ParseTable(GetParam().text), GetParam().slots, GetParam().filled);
}

// tests/data/reader/<case>.txt is read as a table file; <case>.expected is its slot dump.
class GoldenTest : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenTest, DumpMatches) {
    const fs::path base = kData / "reader" / GetParam();
    CodeTable table;
    ASSERT_EQ(ReadTableFile(fs::path(base).concat(".txt"), table), ReadStatus::Ok);
    EXPECT_EQ(Utf16ToUtf8(cli::FormatSlots(table)),
              test::ReadBytes(fs::path(base).concat(".expected")));
}

std::vector<std::string> GoldenCases() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kData / "reader")) {
        if (entry.path().extension() == ".txt") {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Files, GoldenTest, ::testing::ValuesIn(GoldenCases()),
                         [](const auto& caseInfo) { return test::TestName(caseInfo.param); });

TEST(ReadTableFile, SixEncodingsOfOneTableGiveIdenticalSlots) {
    CodeTable reference;
    ASSERT_EQ(ReadTableFile(kData / "tables" / "jis-common.sjis.txt", reference), ReadStatus::Ok);
    ASSERT_EQ(reference.size(), 7019u);  // 7017 entries, a comment, the empty last line
    for (const char* name :
         {"jis-common.eucjp.txt", "jis-common.iso2022jp.txt", "jis-common.utf7.txt",
          "jis-common.utf8.txt", "jis-common.utf16.txt"}) {
        CodeTable table;
        ASSERT_EQ(ReadTableFile(kData / "tables" / name, table), ReadStatus::Ok) << name;
        EXPECT_TRUE(test::SameSlots(table, reference)) << name;
    }
}

std::size_t FilledSlots(const CodeTable& table) {
    std::size_t filled = 0;
    for (std::size_t i = 0; i < table.size(); ++i) {
        filled += !table.CodeTexts(i).empty() || !table.Characters(i).empty();
    }
    return filled;
}

TEST(ReadTableFile, Utf16TablesGiveOneSlotPerLine) {
    struct Expected {
        const char* name;
        std::size_t slots, filled;
    };
    for (const Expected& e : {Expected{"jis-common.utf16.txt", 7019, 7017},
                              Expected{"fake-shift-jis.utf16.txt", 11438, 11438},
                              Expected{"shift-jis-2004-windows.utf16.txt", 11430, 11430}}) {
        CodeTable table;
        ASSERT_EQ(ReadTableFile(kData / "tables" / e.name, table), ReadStatus::Ok) << e.name;
        EXPECT_EQ(table.size(), e.slots) << e.name;
        EXPECT_EQ(FilledSlots(table), e.filled) << e.name;
    }
}

// Files that yield no text leave the previous table in use; any other replaces all of it.
TEST(ReadTableFile, TableChangesOnlyWhenTheFileYieldsText) {
    const test::TempFolder folder("zelkora-reader");
    const fs::path& dir = folder.path();
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);  // must be refused, not waited on
    const auto write = [&](const char* name, std::string_view bytes) {
        test::WriteBytes(dir / name, bytes);
        return dir / name;
    };
    const std::pair<fs::path, ReadStatus> unreadable[] = {
        {dir / "missing.txt", ReadStatus::CannotOpen},
        {dir, ReadStatus::CannotOpen},
        {dir / "fifo", ReadStatus::CannotOpen},
        {write("empty.txt", ""), ReadStatus::EmptyFile},
        {write("utf8-mark.txt", "\xEF\xBB\xBF"), ReadStatus::NoText},
        {write("utf16-mark.txt", "\xFF\xFE"), ReadStatus::NoText},
    };
    CodeTable table = ParseTable(u"41 A\r\n42 B");
    for (const auto& [path, status] : unreadable) {
        EXPECT_EQ(ReadTableFile(path, table), status) << path;
        ExpectSlots(table, 2, {{0, u"41", 0x41, u"A"}, {1, u"42", 0x42, u"B"}});
    }
    EXPECT_EQ(ReadTableFile(write("b.txt", "// B\r\n\r\n43 C"), table), ReadStatus::Ok);
    ExpectSlots(table, 3, {{2, u"43", 0x43, u"C"}});
}

// A table is read into the storage of the one before; neither its slots nor its lookups may
// show through, whether the new table is longer, shorter or far shorter.
TEST(ReadTableFile, RereadKeepsNothingOfThePreviousTable) {
    const test::TempFolder folder("zelkora-reread");
    const fs::path& dir = folder.path();
    const auto write = [&](const char* name, std::string_view bytes) {
        test::WriteBytes(dir / name, bytes);
        return dir / name;
    };
    std::string hundred;
    for (int i = 0; i < 100; ++i) {
        hundred += "7E ~\r\n";
    }
    CodeTable table;
    ASSERT_EQ(ReadTableFile(write("four.txt", "41 A\r\n42 B\r\n3042 C\r\n44 D"), table),
              ReadStatus::Ok);
    EXPECT_EQ(fTextToCode(table, u"AD", false), u"41 44 ");
    ASSERT_EQ(ReadTableFile(write("two.txt", "// A is 45 now\r\n45 A"), table), ReadStatus::Ok);
    ExpectSlots(table, 2, {{1, u"45", 0x45, u"A"}});
    EXPECT_EQ(fTextToCode(table, u"AD", false), u"45 ?? ");
    EXPECT_EQ(fCodeToText(table, u"42 30 44", false), u" 42  30  44 ");
    ASSERT_EQ(ReadTableFile(write("hundred.txt", hundred), table), ReadStatus::Ok);
    ASSERT_EQ(ReadTableFile(write("one.txt", "46 B"), table), ReadStatus::Ok);
    ExpectSlots(table, 1, {{0, u"46", 0x46, u"B"}});
    EXPECT_EQ(fTextToCode(table, u"~AB", false), u"?? ?? 46 ");
}

}  // namespace
}  // namespace zelkora
