#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/FileBytes.h"
#include "engine/CodeToText.h"
#include "engine/TextToCode.h"
#include "tables/Catalogue.h"
#include "tables/TableReader.h"
#include "tables/tools/TableChecker.h"
#include "tables/tools/TableMaker.h"
#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

const std::filesystem::path kSettings =
    std::filesystem::path(ZELKORA_TEST_DATA).parent_path().parent_path() / "settings";

struct DefaultTable {
    const char* name;     // for the test name
    const char* file;     // in settings/
    const char* charset;  // the converter its codes come from
    Encoding storedIn;
    const char* range;  // "" for every code
    bool privateUse;
    std::size_t alternatives;  // codes listed after the code their character converts to
    std::size_t minEntries;    // guards against a truncated file
    const char16_t* lineBreakLine;
    const char16_t* spaceLine;
    const char16_t* wideSpaceLine;  // nullptr where the charset has no U+3000
};

using test::PrintTo;

void PrintTo(const DefaultTable& t, std::ostream* os) {
    *os << t.file;
}

const DefaultTable kTables[] = {
    {"cp932", "CP932 Windows-31J.txt", "windows-31j", Encoding::SJIS, "", false, 398, 7800,
     u"0A \\n", u"20  ", u"8140 \u3000"},
    {"euc_jp", "EUC-JP.txt", "EUC-JP", Encoding::EUC, "", false, 10, 7400, u"0A \\n", u"20  ",
     u"A1A1 \u3000"},
    {"jis_x_0201", "JIS X 0201.txt", "windows-31j", Encoding::SJIS, "00-FF", false, 0, 159,
     u"0A \\n", u"20  ", nullptr},
    {"utf_16", "UTF-16.txt", "UTF-16BE", Encoding::Unicode, "", true, 0, 55000, u"000A \\n",
     u"0020  ", u"3000 \u3000"},
};

std::vector<std::uint8_t> ReadDefault(const DefaultTable& t) {
    const auto bytes = ReadFileBytes(kSettings / t.file);
    EXPECT_TRUE(bytes.has_value()) << t.file;
    return bytes.value_or(std::vector<std::uint8_t>{});
}

// The bytes a code text stands for, most significant first.
std::vector<char> CodeBytes(const std::u16string& codeText, std::int32_t code) {
    const auto value = static_cast<std::uint32_t>(code);
    if (codeText.size() <= 2) {
        return {static_cast<char>(value)};
    }
    return {static_cast<char>(value >> 8), static_cast<char>(value)};
}

class DefaultTablesTest : public ::testing::TestWithParam<DefaultTable> {};

TEST_P(DefaultTablesTest, IsDetectedAsTheEncodingItIsStoredIn) {
    EXPECT_EQ(DetectEncoding(ReadDefault(GetParam())), GetParam().storedIn);
}

// Nothing but the alternatives, each of which repeats the character of an earlier line.
TEST_P(DefaultTablesTest, HasNothingTheCheckerReportsButTheAlternatives) {
    const TableCheck check = CheckTable(ReadDefault(GetParam()));
    const auto repeats =
        std::ranges::count(check.findings, FindingKind::DuplicateCharacter, &Finding::kind);
    EXPECT_EQ(static_cast<std::size_t>(repeats), GetParam().alternatives);
    EXPECT_EQ(check.findings.size(), GetParam().alternatives)
        << FormatTableCheck(check, GetParam().file, false).substr(0, 2000);
    EXPECT_GE(check.entries, GetParam().minEntries);
    EXPECT_GE(check.comments, 1u);
}

// Every entry, checked with the converter directly: its code converts to its character, and
// its character to the code of the first entry that has it.
TEST_P(DefaultTablesTest, EveryEntryRoundTripsThroughTheConverter) {
    const CodeTable table = ParseTable(DecodeTableBytes(ReadDefault(GetParam())));
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(GetParam().charset, &status);
    ASSERT_TRUE(U_SUCCESS(status));
    ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    std::map<std::u16string, std::vector<char>> firstCodes;
    std::size_t checked = 0;
    for (std::size_t slot = 0; slot < table.size(); ++slot) {
        if (table.CodeTexts[slot].empty()) {
            continue;
        }
        const std::u16string character =
            table.Characters[slot] == kLineBreakToken ? u"\n" : table.Characters[slot];
        ASSERT_EQ(character.size(), 1u) << "line " << slot + 1;
        const std::vector<char> own = CodeBytes(table.CodeTexts[slot], table.Codes[slot]);
        const std::vector<char>& first = firstCodes.try_emplace(character, own).first->second;

        std::array<char, 8> encoded{};
        status = U_ZERO_ERROR;
        const std::int32_t n = ucnv_fromUChars(converter, encoded.data(), encoded.size(),
                                               character.data(), 1, &status);
        ASSERT_TRUE(U_SUCCESS(status)) << "line " << slot + 1;
        EXPECT_EQ(std::vector<char>(encoded.begin(), encoded.begin() + n), first)
            << "line " << slot + 1;

        std::array<UChar, 4> decoded{};
        status = U_ZERO_ERROR;
        const std::int32_t m = ucnv_toUChars(converter, decoded.data(), decoded.size(), own.data(),
                                             static_cast<std::int32_t>(own.size()), &status);
        ASSERT_TRUE(U_SUCCESS(status)) << "line " << slot + 1;
        EXPECT_EQ(std::u16string(decoded.data(), static_cast<std::size_t>(m)), character)
            << "line " << slot + 1;
        ++checked;
    }
    ucnv_close(converter);
    EXPECT_GE(checked, GetParam().minEntries);
}

TEST_P(DefaultTablesTest, MapsTheLineBreakTokenAndTheSpaces) {
    const std::u16string text = DecodeTableBytes(ReadDefault(GetParam()));
    const auto hasLine = [&](const char16_t* line) {
        return text.find(u"\r\n" + std::u16string(line) + u"\r\n") != std::u16string::npos;
    };
    EXPECT_TRUE(hasLine(GetParam().lineBreakLine));
    EXPECT_TRUE(hasLine(GetParam().spaceLine));
    if (GetParam().wideSpaceLine != nullptr) {
        EXPECT_TRUE(hasLine(GetParam().wideSpaceLine));
    }
}

class RegeneratedTest : public ::testing::TestWithParam<DefaultTable> {};

// Regenerating gives the same entries in the same order, so the files are the generator's.
TEST_P(RegeneratedTest, HoldsWhatTheGeneratorMakes) {
    MakeTableRequest request;
    request.charset = GetParam().charset;
    request.range = ParseCodeRange(GetParam().range);
    request.privateUse = GetParam().privateUse;
    request.alternatives = GetParam().alternatives > 0;
    const auto expected = CollectCharsetTable(request);
    ASSERT_TRUE(expected.has_value());

    const std::u16string text = DecodeTableBytes(ReadDefault(GetParam()));
    std::vector<std::u16string> lines;
    for (const std::u16string_view line : CutTableLines(text)) {
        if (!line.empty() && !line.starts_with(u"//")) {
            lines.emplace_back(line);
        }
    }
    std::vector<std::u16string> generated;
    for (const TableEntry& entry : expected->entries) {
        generated.push_back(EntryLine(entry));
    }
    EXPECT_EQ(lines, generated);
}

INSTANTIATE_TEST_SUITE_P(Settings, DefaultTablesTest, ::testing::ValuesIn(kTables), test::CaseName);

// Not the UTF-16 table: which code points are assigned follows the library's Unicode version.
INSTANTIATE_TEST_SUITE_P(Settings, RegeneratedTest,
                         ::testing::ValuesIn(std::begin(kTables), std::end(kTables) - 1),
                         test::CaseName);

TEST(DefaultTables, Windows31JIsListedFirst) {
    const auto names = ListTableFiles(kSettings);
    ASSERT_TRUE(names.has_value());
    ASSERT_FALSE(names->empty());
    EXPECT_EQ(names->front(), "CP932 Windows-31J.txt");
    EXPECT_EQ(ChooseTable(*names, u""), "CP932 Windows-31J.txt");
}

struct AlternativeCase {
    const char* name;
    std::size_t table;  // in kTables
    std::u16string_view character;
    std::u16string_view codes;  // the code the character converts to, then its alternatives
};

class AlternativeCodesTest : public ::testing::TestWithParam<AlternativeCase> {};

// Codes to text reads every code of a character; text to codes gives the first, the one the
// character converts to.
TEST_P(AlternativeCodesTest, AllReadBackAndTextGivesTheFirst) {
    const AlternativeCase& c = GetParam();
    const CodeTable table = ParseTable(DecodeTableBytes(ReadDefault(kTables[c.table])));
    const std::u16string_view preferred = c.codes.substr(0, 6);
    EXPECT_EQ(fTextToCode(table, c.character, false), preferred);
    for (std::size_t at = 0; at < c.codes.size(); at += 6) {
        const std::u16string_view code = c.codes.substr(at, 6);
        EXPECT_EQ(fCodeToText(table, code, false), c.character) << "code at " << at;
    }
}

const AlternativeCase kAlternativeCases[] = {
    {"cp932_nec_row_13", 0, u"≒", u"E0 81 90 87 "},
    {"cp932_because", 0, u"∵", u"E6 81 9A 87 5B FA "},
    {"cp932_roman_one", 0, u"Ⅰ", u"54 87 4A FA "},
    {"cp932_small_roman_one", 0, u"ⅰ", u"40 FA EF EE "},
    {"cp932_not_sign", 0, u"￢", u"CA 81 F9 EE 54 FA "},
    {"cp932_nec_selected_ibm", 0, u"纊", u"5C FA 40 ED "},
    {"euc_jp_nec_row_13", 1, u"≒", u"E2 A2 F0 AD "},
    {"euc_jp_not_sign", 1, u"￢", u"CC A2 FB FC "},
};

INSTANTIATE_TEST_SUITE_P(Settings, AlternativeCodesTest, ::testing::ValuesIn(kAlternativeCases),
                         test::CaseName);

}  // namespace
}  // namespace zelkora
