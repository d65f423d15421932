#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/common/FileBytes.h"
#include "core/encoding/DecodeText.h"
#include "core/engine/CodeToText.h"
#include "core/engine/HexCode.h"
#include "core/engine/TextToCode.h"
#include "core/tables/Catalogue.h"
#include "core/tables/TableReader.h"
#include "tests/support/TestSupport.h"
#include "tools/tables/TableChecker.h"
#include "tools/tables/TableMaker.h"

namespace zelkora {
namespace {

const std::filesystem::path kSettings =
    std::filesystem::path(ZELKORA_TEST_DATA).parent_path().parent_path() / "settings";

struct DefaultTable : test::NamedCase {  // for the test name
    const char* file;                    // in settings/
    const char* charset;                 // the converter its codes come from
    Encoding storedIn;
    const char* range;  // "" for every code
    bool privateUse;
    std::size_t alternatives;  // codes listed after the code their character converts to
    std::size_t otherForms;    // JIS forms listed after the Microsoft forms, see below
    std::size_t minEntries;    // guards against a truncated file
    const char16_t* lineBreakLine;
    const char16_t* spaceLine;
    const char16_t* wideSpaceLine;  // nullptr where the charset has no U+3000
};

void PrintTo(const DefaultTable& t, std::ostream* os) {
    *os << t.file;
}

const DefaultTable kTables[] = {
    {"cp932", "CP932 Windows-31J.txt", "windows-31j", Encoding::UTF8, "", false, 398, 7, 7800,
     u"0A \\n", u"20  ", u"4081 \u3000"},
    {"euc_jp", "EUC-JP.txt", "EUC-JP", Encoding::UTF8, "", false, 10, 7, 7400, u"0A \\n", u"20  ",
     u"A1A1 \u3000"},
    {"jis_x_0201", "JIS X 0201.txt", "windows-31j", Encoding::SJIS, "00-FF", false, 0, 0, 159,
     u"0A \\n", u"20  ", nullptr},
    {"utf_16", "UTF-16.txt", "UTF-16LE", Encoding::Unicode, "", true, 0, 0, 55000, u"000A \\n",
     u"0020  ", u"3000 \u3000"},
};

// Japanese text spells seven characters in a JIS form or a Microsoft form. The Windows-31J and
// EUC-JP tables give the JIS form the code of the Microsoft form, which the charsets hold and
// codes to text gives back.
const std::map<char16_t, char16_t> kMicrosoftForms = {
    {u'\u301C', u'\uFF5E'}, {u'\u00A2', u'\uFFE0'}, {u'\u00A3', u'\uFFE1'}, {u'\u00AC', u'\uFFE2'},
    {u'\u2212', u'\uFF0D'}, {u'\u2014', u'\u2015'}, {u'\u2016', u'\u2225'}};

// The text as the table's charset spells it.
std::u16string InCharsetForms(std::u16string text, const DefaultTable& t) {
    for (char16_t& c : text) {
        const auto microsoft = kMicrosoftForms.find(c);
        if (t.otherForms > 0 && microsoft != kMicrosoftForms.end()) {
            c = microsoft->second;
        }
    }
    return text;
}

// A converter that stops at what it cannot convert, instead of substituting.
class Converter {
public:
    explicit Converter(const char* charset) {
        UErrorCode status = U_ZERO_ERROR;
        converter_ = ucnv_open(charset, &status);
        ucnv_setFromUCallBack(converter_, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                              &status);
        ucnv_setToUCallBack(converter_, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                            &status);
        EXPECT_TRUE(U_SUCCESS(status)) << charset;
    }
    ~Converter() { ucnv_close(converter_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Nothing when some character has no bytes.
    std::optional<std::vector<char>> Bytes(std::u16string_view text) {
        return Converted<std::vector<char>>(text, text.size() * 4 + 4, ucnv_fromUChars);
    }

    // Nothing when the bytes do not decode.
    std::optional<std::u16string> Text(const std::vector<char>& bytes) {
        return Converted<std::u16string>(bytes, bytes.size() + 2, ucnv_toUChars);
    }

private:
    // What one of ICU's two conversions of a whole text makes of `from`, given room for `room`
    // units.
    template <typename To, typename From, typename Convert>
    std::optional<To> Converted(const From& from, std::size_t room, Convert convert) {
        To to(room, {});
        UErrorCode status = U_ZERO_ERROR;
        const std::int32_t n =
            convert(converter_, to.data(), static_cast<std::int32_t>(to.size()), from.data(),
                    static_cast<std::int32_t>(from.size()), &status);
        if (U_FAILURE(status)) {
            return std::nullopt;
        }
        to.resize(static_cast<std::size_t>(n));
        return to;
    }

    UConverter* converter_ = nullptr;
};

// Equal sequences, or where they first differ: a failure should not print a megabyte.
template <class Sequence>
::testing::AssertionResult Same(const Sequence& actual, const Sequence& expected) {
    const auto [a, e] = std::ranges::mismatch(actual, expected);
    if (a == actual.end() && e == expected.end()) {
        return ::testing::AssertionSuccess();
    }
    const auto at = static_cast<std::size_t>(a - actual.begin());
    const auto around = [&](const Sequence& s) {
        return testing::PrintToString(
            Sequence(s.begin() + static_cast<std::ptrdiff_t>(at),
                     s.begin() + static_cast<std::ptrdiff_t>(std::min(s.size(), at + 8))));
    };
    return ::testing::AssertionFailure()
           << "first difference at " << at << " of " << actual.size() << "/" << expected.size()
           << ": " << around(actual) << " instead of " << around(expected);
}

// The bytes that codes in the code notation stand for, in their order.
std::vector<char> BytesOfCodes(std::u16string_view codes) {
    std::vector<char> bytes;
    for (std::size_t at = 0; at + 3 <= codes.size(); at += 3) {
        const auto value = ParseHexCode(codes.substr(at, 2));
        if (!value || codes[at + 2] != u' ') {
            ADD_FAILURE() << "not a byte group at " << at << ": "
                          << testing::PrintToString(std::u16string(codes.substr(at, 3)));
            break;
        }
        bytes.push_back(static_cast<char>(*value));
    }
    return bytes;
}

std::vector<std::uint8_t> ReadDefault(const DefaultTable& t) {
    const auto bytes = ReadFileBytes(kSettings / t.file);
    EXPECT_TRUE(bytes.has_value()) << t.file;
    return bytes.value_or(std::vector<std::uint8_t>{});
}

class DefaultTablesTest : public ::testing::TestWithParam<DefaultTable> {};

TEST_P(DefaultTablesTest, IsDetectedAsTheEncodingItIsStoredIn) {
    EXPECT_EQ(DetectEncoding(ReadDefault(GetParam())), GetParam().storedIn);
}

// Nothing but the alternatives, each of which repeats the character of an earlier line, and the
// other forms, each of which repeats the code of the line before.
TEST_P(DefaultTablesTest, HasNothingTheCheckerReportsButTheAlternatives) {
    const TableCheck check = CheckTable(ReadDefault(GetParam()));
    const auto count = [&](FindingKind kind) {
        return static_cast<std::size_t>(std::ranges::count(check.findings, kind, &Finding::kind));
    };
    EXPECT_EQ(count(FindingKind::DuplicateCharacter), GetParam().alternatives);
    EXPECT_EQ(count(FindingKind::DuplicateCode), GetParam().otherForms);
    EXPECT_EQ(check.findings.size(), GetParam().alternatives + GetParam().otherForms)
        << FormatTableCheck(check, GetParam().file, false).substr(0, 2000);
    EXPECT_GE(check.entries, GetParam().minEntries);
    EXPECT_GE(check.comments, 1u);
}

// Every entry, checked with the converter directly: its code, whose notation is the bytes in
// file order, converts to its character, and its character to the code of the first entry
// that has it.
TEST_P(DefaultTablesTest, EveryEntryRoundTripsThroughTheConverter) {
    const CodeTable table = ParseTable(DecodeTableBytes(ReadDefault(GetParam())));
    Converter converter(GetParam().charset);
    std::map<std::u16string, std::vector<char>> firstCodes;
    std::size_t checked = 0;
    for (std::size_t slot = 0; slot < table.size(); ++slot) {
        if (table.CodeTexts(slot).empty()) {
            continue;
        }
        const std::u16string character(
            table.Characters(slot) == kLineBreakToken ? u"\n" : table.Characters(slot));
        ASSERT_EQ(character.size(), 1u) << "line " << slot + 1;
        const std::vector<char> own =
            BytesOfCodes(fReverseBytes(fEvenDigits(table.CodeTexts(slot))) + u" ");
        const std::vector<char>& first = firstCodes.try_emplace(character, own).first->second;
        const std::u16string spelled = InCharsetForms(character, GetParam());
        EXPECT_EQ(converter.Bytes(spelled), first) << "line " << slot + 1;
        EXPECT_EQ(converter.Text(own), spelled) << "line " << slot + 1;
        ++checked;
    }
    EXPECT_GE(checked, GetParam().minEntries);
}

// Random lines holding every character of the table once, in random order, with as many
// printable ASCII characters among them. To codes, with the line-break option as the window has
// it, they are the charset's bytes with LF line ends; back, they are the text as it went in,
// each JIS form as the charset's own character.
TEST_P(DefaultTablesTest, RandomTextGivesTheCharsetsBytesAndComesBack) {
    const CodeTable table = ParseTable(DecodeTableBytes(ReadDefault(GetParam())));
    std::mt19937 random(20241208);
    std::u16string characters;
    for (std::size_t slot = 0; slot < table.size(); ++slot) {
        if (!table.CodeTexts(slot).empty() && table.Characters(slot) != kLineBreakToken) {
            characters += table.Characters(slot);
            characters += static_cast<char16_t>(u' ' + random() % 95);
        }
    }
    std::ranges::shuffle(characters, random);
    std::u16string text;
    std::u16string lines;  // the same with LF line ends
    for (const char16_t c : characters) {
        if (random() % 40 == 0) {
            text += u"\r\n";
            lines += u'\n';
        }
        // A backslash and an n would be the line-break token.
        if (c == u'n' && !text.empty() && text.back() == u'\\') {
            text += u' ';
            lines += u' ';
        }
        text += c;
        lines += c;
    }

    const std::u16string codes = fTextToCode(table, text, true);
    Converter converter(GetParam().charset);
    const auto bytes = converter.Bytes(InCharsetForms(lines, GetParam()));
    ASSERT_TRUE(bytes.has_value());
    EXPECT_TRUE(Same(BytesOfCodes(codes), *bytes));
    EXPECT_TRUE(Same(fCodeToText(table, codes, true), InCharsetForms(text, GetParam())));
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
        generated.push_back(EntryLine(entry, CodeForm::FileOrder));
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

struct AlternativeCase : test::NamedCase {
    std::size_t table;  // in kTables
    std::u16string_view character;
    std::u16string_view codes;  // the code the character converts to, then its alternatives
};

// Codes to text reads every code of a character; text to codes gives the first, the one the
// character converts to.

const AlternativeCase kAlternativeCases[] = {
    {"cp932_nec_row_13", 0, u"≒", u"81 E0 87 90 "},
    {"cp932_because", 0, u"∵", u"81 E6 87 9A FA 5B "},
    {"cp932_roman_one", 0, u"Ⅰ", u"87 54 FA 4A "},
    {"cp932_small_roman_one", 0, u"ⅰ", u"FA 40 EE EF "},
    {"cp932_not_sign", 0, u"￢", u"81 CA EE F9 FA 54 "},
    {"cp932_nec_selected_ibm", 0, u"纊", u"FA 5C ED 40 "},
    {"euc_jp_nec_row_13", 1, u"≒", u"A2 E2 AD F0 "},
    {"euc_jp_not_sign", 1, u"￢", u"A2 CC FC FB "},
};

ZELKORA_TEST_CASES(Settings, AlternativeCodesTest, AllReadBackAndTextGivesTheFirst,
                   kAlternativeCases) {
    const AlternativeCase& c = GetParam();
    const CodeTable table = ParseTable(DecodeTableBytes(ReadDefault(kTables[c.table])));
    const std::u16string_view preferred = c.codes.substr(0, 6);
    EXPECT_EQ(fTextToCode(table, c.character, false), preferred);
    for (std::size_t at = 0; at < c.codes.size(); at += 6) {
        const std::u16string_view code = c.codes.substr(at, 6);
        EXPECT_EQ(fCodeToText(table, code, false), c.character) << "code at " << at;
    }
}

}  // namespace
}  // namespace zelkora
