#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

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
    std::size_t minEntries;  // guards against a truncated file
    const char16_t* lineBreakLine;
    const char16_t* spaceLine;
    const char16_t* wideSpaceLine;  // nullptr where the charset has no U+3000
};

void PrintTo(const DefaultTable& t, std::ostream* os) {
    *os << t.file;
}

const DefaultTable kTables[] = {
    {"cp932", "CP932 Windows-31J.txt", "windows-31j", Encoding::SJIS, "", false, 7400, u"0A \\n",
     u"20  ", u"8140 \u3000"},
    {"euc_jp", "EUC-JP.txt", "EUC-JP", Encoding::EUC, "", false, 7400, u"0A \\n", u"20  ",
     u"A1A1 \u3000"},
    {"jis_x_0201", "JIS X 0201.txt", "windows-31j", Encoding::SJIS, "00-FF", false, 159, u"0A \\n",
     u"20  ", nullptr},
    {"utf_16", "UTF-16.txt", "UTF-16BE", Encoding::Unicode, "", true, 55000, u"000A \\n", u"0020  ",
     u"3000 \u3000"},
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

TEST_P(DefaultTablesTest, HasNothingTheCheckerReports) {
    const TableCheck check = CheckTable(ReadDefault(GetParam()));
    EXPECT_TRUE(check.findings.empty())
        << FormatTableCheck(check, GetParam().file, false).substr(0, 2000);
    EXPECT_GE(check.entries, GetParam().minEntries);
    EXPECT_GE(check.comments, 1u);
}

// Every entry, checked with the converter directly: its character converts to exactly its
// code, and its code back to its character.
TEST_P(DefaultTablesTest, EveryEntryRoundTripsThroughTheConverter) {
    const CodeTable table = ParseTable(DecodeTableBytes(ReadDefault(GetParam())));
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(GetParam().charset, &status);
    ASSERT_TRUE(U_SUCCESS(status));
    ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    std::size_t checked = 0;
    for (std::size_t slot = 0; slot < table.size(); ++slot) {
        if (table.CodeTexts[slot].empty()) {
            continue;
        }
        const std::u16string character =
            table.Characters[slot] == kLineBreakToken ? u"\n" : table.Characters[slot];
        ASSERT_EQ(character.size(), 1u) << "line " << slot + 1;
        const std::vector<char> code = CodeBytes(table.CodeTexts[slot], table.Codes[slot]);

        std::array<char, 8> encoded{};
        status = U_ZERO_ERROR;
        const std::int32_t n = ucnv_fromUChars(converter, encoded.data(), encoded.size(),
                                               character.data(), 1, &status);
        ASSERT_TRUE(U_SUCCESS(status)) << "line " << slot + 1;
        EXPECT_EQ(std::vector<char>(encoded.begin(), encoded.begin() + n), code)
            << "line " << slot + 1;

        std::array<UChar, 4> decoded{};
        status = U_ZERO_ERROR;
        const std::int32_t m = ucnv_toUChars(converter, decoded.data(), decoded.size(), code.data(),
                                             static_cast<std::int32_t>(code.size()), &status);
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

// Vendor rows that repeat a character keep only the code the character converts to.
TEST(DefaultTables, Windows31JKeepsTheCodeTextConvertsTo) {
    const CodeTable table = ParseTable(DecodeTableBytes(ReadDefault(kTables[0])));
    const auto codeOf = [&](std::u16string_view character) {
        std::vector<std::u16string> codes;
        for (std::size_t slot = 0; slot < table.size(); ++slot) {
            if (table.Characters[slot] == character) {
                codes.push_back(table.CodeTexts[slot]);
            }
        }
        return codes;
    };
    EXPECT_EQ(codeOf(u"∵"), std::vector<std::u16string>{u"81E6"});   // not 879A or FA5B
    EXPECT_EQ(codeOf(u"Ⅰ"), std::vector<std::u16string>{u"8754"});   // not FA4A
    EXPECT_EQ(codeOf(u"ⅰ"), std::vector<std::u16string>{u"FA40"});   // not EEEF
    EXPECT_EQ(codeOf(u"￢"), std::vector<std::u16string>{u"81CA"});  // not EEF9 or FA54
    EXPECT_EQ(codeOf(u"纊"), std::vector<std::u16string>{u"FA5C"});  // not ED40
}

}  // namespace
}  // namespace zelkora
