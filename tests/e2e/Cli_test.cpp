// Runs the built zelkora-cli as a script would: bytes on stdin, bytes and status back.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "cli/LineEnds.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using zelkora::test::CaseName;
using zelkora::test::ReadBytes;
using zelkora::test::TempFolder;
using zelkora::test::WriteBytes;

const fs::path kBuiltCli = fs::path(ZELKORA_BIN_DIR) / "zelkora-cli";
const fs::path kData = ZELKORA_TEST_DATA;

// The input as the window's box would hold it, and its result written back in the input's style.
struct LineEndCase : zelkora::test::NamedCase {
    std::u16string_view input;
    std::u16string_view box;  // without the final line end, each line end as CR LF
    std::u16string_view finalLineEnd;
    std::string writtenBack;  // the box text with its CR LF pairs in the input's style
};

const LineEndCase kLineEndCases[] = {
    {"no-line-end", u"AB", u"AB", u"", "AB"},
    {"lf", u"A\nB\n", u"A\r\nB", u"\n", "A\nB"},
    {"crlf", u"A\r\nB\r\n", u"A\r\nB", u"\r\n", "A\r\nB"},
    {"lone-cr", u"A\rB\r", u"A\r\nB", u"\r", "A\rB"},
    {"mixed-follow-the-first", u"A\nB\r\nC\rD", u"A\r\nB\r\nC\r\nD", u"", "A\nB\nC\nD"},
    {"lf-then-cr-are-two", u"A\n\rB", u"A\r\n\r\nB", u"", "A\n\nB"},
    {"only-the-last-line-end-ends", u"A\r\r", u"A\r\n", u"\r", "A\r"},
    {"only-a-line-end", u"\n", u"", u"\n", ""},
};

ZELKORA_TEST_CASES(Cases, LineEndsTest, MapsInputToTheBoxAndBack, kLineEndCases) {
    using namespace zelkora::cli;
    const LineEndCase& c = GetParam();
    const std::u16string_view input = c.input;
    const zelkora::Line split = SplitFinalLineEnd(input);
    std::u16string storage;
    const std::u16string_view box = AsBoxText(split.text, storage);
    EXPECT_EQ(box, c.box);
    EXPECT_EQ(split.end, c.finalLineEnd);
    std::string written(box.begin(), box.end());  // ASCII
    const std::u16string_view style = LineBreakStyle(input);
    WriteBoxLineBreaksAs(written, std::string(style.begin(), style.end()));
    EXPECT_EQ(written, c.writtenBack);
}

using Result = zelkora::test::ProgramRun;

class CliTest : public ::testing::Test {
protected:
    void SetUp() override { WriteBytes(table_, kTable); }

    Result Run(const fs::path& program, std::vector<std::string> args, std::string_view input = {},
               const char* stdoutPath = nullptr) {
        Result result =
            zelkora::test::RunProgram(program, std::move(args), input, dir_, 120s, stdoutPath);
        if (!result.started || result.timedOut) {
            ADD_FAILURE() << "cannot start " << program << " or it did not end";
        }
        return result;
    }
    Result Cli(std::vector<std::string> args, std::string_view input = {}) {
        return Run(kBuiltCli, std::move(args), input);
    }

    // A program folder of its own: the binary with settings/ and setting.ini beside it.
    fs::path MakeProgramFolder() {
        const fs::path folder = dir_ / "program";
        fs::create_directories(folder);
        fs::copy_file(kBuiltCli, folder / "zelkora-cli");
        fs::permissions(folder / "zelkora-cli", fs::perms::owner_all);
        return folder;
    }

    static constexpr std::string_view kTable =
        "// test table\r\n41 A\r\n42 B\r\n61 a\r\n62 b\r\n0A \\n\r\n82A0 \xE3\x81\x82\r\n";  // あ
    const TempFolder folder_{"zelkora-e2e"};
    const fs::path& dir_ = folder_.path();
    const fs::path table_ = dir_ / "table.txt";
};

struct ConvertCase : zelkora::test::NamedCase {
    std::vector<std::string> args;  // "--table" is added
    std::string input;
    std::string output;
    std::string err = "";
};

class ConvertTest : public CliTest, public ::testing::WithParamInterface<ConvertCase> {};

TEST_P(ConvertTest, WritesExactlyTheResult) {
    std::vector<std::string> args = GetParam().args;
    args.push_back("--table");
    args.push_back(table_.string());
    const Result result = Cli(args, GetParam().input);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, GetParam().output);
    EXPECT_EQ(result.err, GetParam().err);
}

const ConvertCase kConvertCases[] = {
    {"to-codes", {"to-codes"}, "AB", "41 42 "},
    {"to-codes-two-bytes-low-first", {"to-codes"}, "あ", "A0 82 "},
    {"to-codes-empty-input", {"to-codes"}, "", ""},
    // By default each line on its own, followed by its own line end: codes spread over lines
    // read back, and text keeps its lines.
    {"to-text-each-line", {"to-text"}, "41 42\n42 41\n", "AB\nBA\n"},
    {"to-codes-each-line", {"to-codes"}, "AB\r\nb\n", "41 42 \r\n62 \n"},
    {"auto-decides-each-line", {"auto"}, "41\n\xE3\x81\x82\n", "A\nA0 82 \n"},
    // --whole: the input as the window's box holds it, line ends converted too.
    {"to-codes-crlf-as-two-characters", {"to-codes", "--whole"}, "a\r\nb", "61 ?? ?? 62 "},
    {"to-codes-crlf-as-line-break", {"to-codes", "--whole", "--line-break"}, "a\r\nb", "61 0A 62 "},
    {"to-text", {"to-text"}, "41 42", "AB"},
    {"to-text-unspaced-input-paired", {"to-text"}, "4142", "AB"},
    {"to-text-line-break-token-kept", {"to-text"}, "61 0A 62", "a\\nb"},
    {"to-text-line-break-as-crlf", {"to-text", "--line-break", "--raw"}, "61 0A 62", "a\r\nb"},
    {"auto-codes", {"auto"}, " 41 42", "AB"},
    {"auto-text", {"auto"}, "あA", "A0 82 41 "},
    // Line breaks in the result are written as LF when the input has no line end.
    {"auto-unspaced-codes", {"auto", "--line-break"}, "610A62", "a\nb"},
    // The input as the window's box holds it: the final line end is written back after the
    // result, a byte-order mark is dropped, and each line end inside converts as CR LF.
    {"to-text-final-line-end-kept", {"to-text"}, "A082\n", "あ\n"},
    {"byte-order-mark-dropped",
     {"to-codes"},
     "\xEF\xBB\xBF"
     "AB\r\n",
     "41 42 \r\n"},
    {"to-codes-lf-as-line-break", {"to-codes", "--whole", "--line-break"}, "A\nB", "41 0A 42 "},
    {"to-text-line-breaks-in-input-style",
     {"to-text", "--line-break"},
     "61 0A 62\r\n",
     "a\r\nb\r\n"},
    {"raw-keeps-byte-order-mark-and-line-end",
     {"to-codes", "--raw"},
     "\xEF\xBB\xBF"
     "A\n",
     "?? 41 ?? "},
    // --lines, still accepted, is the default; line breaks within a result follow the input's
    // first line end.
    {"to-text-lines", {"to-text", "--lines"}, "41 42\n4241\r\n\n82", "AB\nBA\r\n\n 82 "},
    {"lines-follow-the-first-line-end",
     {"to-text", "--lines", "--line-break"},
     "61 0A 62\n61 0A 62\r\n",
     "a\nb\na\nb\r\n"},
    {"auto-lines-decides-each-line", {"auto", "--lines"}, "41\nあ\n", "A\nA0 82 \n"},
    // A report names places in the text as converted: each line end inside it as CR LF.
    {"report-box-text",
     {"to-codes", "--whole", "--report"},
     "A\nx",
     "41 ?? ?? ?? ",
     "zelkora-cli: 3 characters had no code:\n  line 1, column 2: \"\\x0D\"\n"
     "  line 1, column 2: \"\\x0A\"\n  line 2, column 1: \"x\"\n"},
    {"report-lines-characters",
     {"to-codes", "--lines", "--report"},
     "A\n😀x\n",
     "41 \n?? ?? ?? \n",
     "zelkora-cli: 2 characters had no code:\n  line 2, column 1: \"😀\"\n"
     "  line 2, column 2: \"x\"\n"},
    // --binary: the codes as bytes, the text as --whole holds it (the final line end is not
    // data); and bytes read as codes, from an offset and for a length.
    {"to-codes-binary",
     {"to-codes", "--binary"},
     "A\xE3\x81\x82"
     "B\n",
     "A\xA0\x82"
     "B"},
    {"to-codes-binary-line-break", {"to-codes", "--binary", "--line-break"}, "a\nb\n", "a\nb"},
    {"to-text-binary", {"to-text", "--binary"}, "AB\xA0\x82", "AB\xE3\x81\x82"},
    {"to-text-binary-range",
     {"to-text", "--binary", "--offset", "0x1", "--length", "2"},
     "bABa",
     "AB"},
    {"to-text-binary-line-break", {"to-text", "--binary", "--line-break"}, "a\nb", "a\nb"},
    {"report-lines-codes",
     {"to-text", "--lines", "--report"},
     "41 ZZ\n4A\n",
     "A ZZ \n 4A \n",
     "zelkora-cli: 2 codes had no entry:\n  line 1, element 2: \"ZZ\"\n"
     "  line 2, element 1: \"4A\"\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ConvertTest, ::testing::ValuesIn(kConvertCases), CaseName);

// An input longer than a block of reading is converted as a whole: a character, a CR LF or a
// group of codes cut by the end of a block, in every place, converts as it does anywhere else, and
// a report counts lines and elements across blocks.
TEST_F(CliTest, LongInputConvertsAsAWhole) {
    constexpr std::size_t kUnits = 400000;  // "あB\r\n": 6 bytes, 2.4 MB in all
    const auto repeat = [](std::string_view unit, std::size_t times) {
        std::string all;
        for (std::size_t i = 0; i < times; ++i) {
            all += unit;
        }
        return all;
    };
    for (std::size_t shift = 0; shift < 6; ++shift) {
        SCOPED_TRACE("shifted by " + std::to_string(shift));
        const std::string text = std::string(shift, 'A') +
                                 repeat(
                                     "\xE3\x81\x82"
                                     "B\r\n",
                                     kUnits) +
                                 "x";
        const std::string t = table_.string();
        const Result codes =
            Cli({"to-codes", "-t", t, "--whole", "--line-break", "--report"}, text);
        EXPECT_EQ(codes.out, repeat("41 ", shift) + repeat("A0 82 42 0A ", kUnits) + "?? ");
        EXPECT_EQ(codes.err, "zelkora-cli: 1 character had no code:\n  line " +
                                 std::to_string(kUnits + 1) + ", column 1: \"x\"\n");
        const Result back =
            Cli({"to-text", "-t", t, "--whole", "--line-break", "--report"}, codes.out);
        EXPECT_EQ(back.out, std::string(shift, 'A') +
                                repeat("\xE3\x81\x82"
                                       "B\n",
                                       kUnits) +
                                " ?? ");
        EXPECT_EQ(back.err, "zelkora-cli: 1 code had no entry:\n  element " +
                                std::to_string(shift + 4 * kUnits + 1) + ": \"??\"\n");
        const Result lines = Cli({"to-codes", "-t", t}, text);
        EXPECT_EQ(lines.out, repeat("41 ", shift) + repeat("A0 82 42 \r\n", kUnits) + "?? ");
        const Result linesBack = Cli({"to-text", "-t", t}, lines.out);
        EXPECT_EQ(linesBack.out, text.substr(0, text.size() - 1) + " ?? ");
    }
    // Line breaks in a result are written like the input's first line end, here its last
    // characters: looked up ahead in a FILE, waited for from a pipe.
    const std::string codes = repeat("61 0A 62 ", kUnits) + "\r\n";
    WriteBytes(dir_ / "codes.txt", codes);
    const std::string expected = repeat("a\r\nb", kUnits) + "\r\n";
    const std::vector<std::string> toText = {"to-text", "-t", table_.string(), "--whole",
                                             "--line-break"};
    EXPECT_EQ(Cli(toText, codes).out, expected);
    std::vector<std::string> fromFile = toText;
    fromFile.push_back((dir_ / "codes.txt").string());
    EXPECT_EQ(Cli(fromFile).out, expected);
}

TEST_F(CliTest, TableOptionWithEquals) {
    const Result result = Cli({"to-codes", "--table=" + table_.string()}, "B");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "42 ");
}

TEST_F(CliTest, UnreadableTableNamedInOneMessage) {
    WriteBytes(dir_ / "empty.txt", "");
    for (const fs::path& table : {dir_ / "gone.txt", dir_ / "empty.txt", dir_}) {
        const Result result = Cli({"to-codes", "--table", table.string()}, "A");
        EXPECT_EQ(result.status, 1) << table;
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(table.string()), std::string::npos) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
}

TEST_F(CliTest, InvalidUtf8ReportedWithOffset) {
    const Result result = Cli({"to-codes", "--table", table_.string()},
                              "AB\xE3\x81"
                              "C");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("offset 2"), std::string::npos) << result.err;
}

TEST_F(CliTest, WriteErrorFails) {
    const Result result =
        Run(kBuiltCli, {"to-codes", "--table", table_.string()}, "AB", "/dev/full");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("standard output"), std::string::npos) << result.err;
}

// Usage errors exit with 2 and print the usage; a program that cannot place its files exits
// with 1. Either way nothing goes to standard output.
struct UsageCase : zelkora::test::NamedCase {
    std::vector<std::string> args;
    std::string says = "usage: zelkora-cli";
    int status = 2;
    // Run from an installed layout (bin/ beside share/zelkora/settings) without HOME or the XDG
    // variables.
    bool installedWithoutHome = false;
};

class UsageTest : public CliTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(UsageTest, ExitsWithAMessage) {
    const UsageCase& c = GetParam();
    Result result;
    if (c.installedWithoutHome) {
        const fs::path usr = dir_ / "usr";
        fs::create_directories(usr / "bin");
        fs::create_directories(usr / "share" / "zelkora" / "settings");
        fs::copy_file(kBuiltCli, usr / "bin" / "zelkora-cli");
        fs::permissions(usr / "bin" / "zelkora-cli", fs::perms::owner_all);
        std::vector<std::string> args{"-u",
                                      "HOME",
                                      "-u",
                                      "XDG_CONFIG_HOME",
                                      "-u",
                                      "XDG_DATA_HOME",
                                      (usr / "bin" / "zelkora-cli").string()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        result = Run("/usr/bin/env", args);
    } else {
        result = Cli(c.args);
    }
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
}

const UsageCase kUsageCases[] = {
    {"no-command", {}},
    {"unknown-command", {"frobnicate"}},
    {"unknown-option", {"to-codes", "--frob"}},
    {"table-without-file", {"to-text", "--table"}},
    {"detect-without-file", {"detect"}},
    {"dump-with-two-files", {"dump", "a", "b"}},
    {"whole-and-raw", {"to-codes", "--whole", "--raw"}},
    {"swap-codes-without-file", {"swap-codes"}},
    {"paths-with-an-argument", {"--paths", "extra"}, "unexpected argument 'extra'"},
    {"version-then-help", {"--version", "--help"}, "unexpected argument '--help'"},
    {"range-from-above-to",
     {"make-table", "--charset", "windows-31j", "--range", "FF-00"},
     "FROM is above TO"},
    {"installed-without-home",
     {"--paths"},
     "no folder for setting.ini or the tables: neither HOME, XDG_CONFIG_HOME nor XDG_DATA_HOME",
     1,
     true},
    {"installed-without-home-converting",
     {"to-codes"},
     "no folder for setting.ini or the tables",
     1,
     true},
    {"binary-with-auto", {"auto", "--binary"}},
    {"offset-without-binary", {"to-text", "--offset", "1"}},
    {"binary-bad-offset", {"to-text", "--binary", "--offset", "12x"}},
    {"find-without-text", {"find"}},
    {"find-relative-word-all-same", {"find", "--relative", "あああ"}},
    {"find-relative-word-of-two-kinds", {"find", "--relative", "あいア"}},
    {"find-make-table-without-relative", {"find", "--make-table", "AB"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, UsageTest, ::testing::ValuesIn(kUsageCases), CaseName);

TEST_F(CliTest, VersionAndHelp) {
    const Result version = Cli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "zelkora-cli " ZELKORA_VERSION "\n");
    const Result help = Cli({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const std::string command : {"to-codes", "to-text", "auto", "detect", "dump", "make-table",
                                      "check-table", "import-tbl", "swap-codes", "find"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
        const Result usage = Cli({command, "--help"});
        EXPECT_EQ(usage.status, 0) << command;
        EXPECT_TRUE(usage.out.starts_with("usage: zelkora-cli " + command + " ")) << usage.out;
    }
}

// Files are read one after another as cat reads them, "-" being standard input, a byte-order
// mark dropped at the start of each; a file that cannot be read is named.
TEST_F(CliTest, FileOperands) {
    WriteBytes(dir_ / "a.txt", "A\n");
    WriteBytes(dir_ / "b.txt",
               "\xEF\xBB\xBF"
               "b\n");
    const Result all = Cli({"to-codes", "-t", table_.string(), (dir_ / "a.txt").string(),
                            (dir_ / "b.txt").string(), "-"},
                           "\xEF\xBB\xBF"
                           "B");
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.out, "41 \n62 \n42 ");
    const fs::path gone = dir_ / "gone.txt";
    const Result missing = Cli({"to-text", "-t", table_.string(), "-", gone.string()}, "41");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find(gone.string()), std::string::npos) << missing.err;
}

// find: each hit with its context, "FILE:" first when there are several FILEs, or counts; the
// exit status is grep's, and a FILE that cannot be read does not stop the others. A starter
// table is written for one hit only.
TEST_F(CliTest, FindHitsCountsAndStatus) {
    const std::string a = (dir_ / "a.bin").string();
    const std::string b = (dir_ / "b.bin").string();
    const std::string gone = (dir_ / "gone.bin").string();
    const std::string t = table_.string();
    WriteBytes(a, "bABABb");
    WriteBytes(b, "xabcabc");
    struct Case {
        std::vector<std::string> args;
        std::string out;
        int status;
    };
    const Case cases[] = {
        {{"find", "-t", t, "--context", "1", "AB", a}, "0x1: bABA\n0x3: BABb\n", 0},
        {{"find", "-t", t, "-c", "AB", a, b}, a + ":2\n" + b + ":0\n", 0},
        {{"find", "-t", t, "--context=0", "b", b, gone, a},
         b + ":0x2: b\n" + b + ":0x5: b\n" + a + ":0x0: b\n" + a + ":0x5: b\n",
         2},
        {{"find", "-t", t, "ba", a}, "", 1},
        {{"find", "-t", t, "Ax", a}, "", 2},  // x has no code
        {{"find", "--relative", "abc", b},
         "0x1: 1 byte, alphabet, a=0x61\n0x4: 1 byte, alphabet, a=0x61\n",
         0},
        {{"find", "--relative", "abc", "--make-table", b}, "", 2},
        {{"find", "--relative", "abc", "--make-table", "--hit", "3", b}, "", 2},
        {{"find", "--relative", "ace", "--make-table", b}, "", 1},
    };
    for (const Case& c : cases) {
        const Result result = Cli(c.args);
        EXPECT_EQ(result.status, c.status) << c.args[3] << result.err;
        EXPECT_EQ(result.out, c.out) << c.args[3];
    }
    const Result table = Cli({"find", "--relative", "abc", "--make-table", "--hit", "2", b});
    EXPECT_EQ(table.status, 0) << table.err;
    EXPECT_TRUE(table.out.starts_with("\xEF\xBB\xBF// ")) << table.out;
    EXPECT_NE(table.out.find("\r\n61 a\r\n62 b\r\n"), std::string::npos) << table.out;
    EXPECT_TRUE(table.out.ends_with("\r\n7A z\r\n")) << table.out;
}

TEST_F(CliTest, CheckTableQuotesACharacterOutsideTheBmpAsItself) {
    WriteBytes(table_, "41 A\r\n1F600 \xF0\x9F\x98\x80\r\n");  // 😀
    const Result check = Cli({"check-table", table_.string()});
    EXPECT_NE(check.out.find("\"\xF0\x9F\x98\x80\" is several characters"), std::string::npos)
        << check.out;
}

// The table tools write a table on standard output. Their codes give the bytes in file order
// unless asked otherwise; swap-codes changes nothing but the code fields, or writes nothing.
struct ToolCase : zelkora::test::NamedCase {
    std::vector<std::string> args;  // "FILE" stands for a file holding `file`
    std::string file;
    std::string output;
    int status = 0;
    bool whole = true;  // the output is exactly `output`, else it ends with it
};

class ToolTest : public CliTest, public ::testing::WithParamInterface<ToolCase> {};

TEST_P(ToolTest, WritesTheTable) {
    const ToolCase& c = GetParam();
    std::vector<std::string> args = c.args;
    WriteBytes(dir_ / "in.txt", c.file);
    std::ranges::replace(args, std::string("FILE"), (dir_ / "in.txt").string());
    const Result result = Cli(args);
    EXPECT_EQ(result.status, c.status) << result.err;
    if (c.whole) {
        EXPECT_EQ(result.out, c.output);
    } else {
        EXPECT_TRUE(result.out.ends_with(c.output)) << result.out;
    }
}

using namespace std::string_literals;

const ToolCase kToolCases[] = {
    {"make-table-file-order",
     {"make-table", "--charset", "windows-31j", "--range", "82A0-82A0"},
     "",
     "\r\nA082 \xE3\x81\x82\r\n",  // あ
     0,
     false},
    {"make-table-lead-byte-first",
     {"make-table", "--charset", "windows-31j", "--range", "82A0-82A0", "--lead-byte-first"},
     "",
     "\r\n82A0 \xE3\x81\x82\r\n",
     0,
     false},
    {"import-tbl-file-order",
     {"import-tbl", "FILE"},
     "8391=\xE3\x83\xB1\r\n",  // ヱ
     "\r\n9183 \xE3\x83\xB1\r\n",
     0,
     false},
    {"import-tbl-lead-byte-first",
     {"import-tbl", "FILE", "--lead-byte-first"},
     "8391=\xE3\x83\xB1\r\n",
     "\r\n8391 \xE3\x83\xB1\r\n",
     0,
     false},
    // Shift_JIS; comments, one-byte codes, an empty code field and a long code are left as they
    // are, and so are the line ends; three digits are read as four.
    {"swap-codes-shift-jis",
     {"swap-codes", "FILE"},
     "// 82A0 \x82\xA0\r\n82a0 \x82\xA0\n41 A\r\n123 x\r\n 8140 y\r\n12345 z",
     "// 82A0 \x82\xA0\r\na082 \x82\xA0\n41 A\r\n2301 x\r\n 8140 y\r\n12345 z"},
    {"swap-codes-utf-8-with-mark",
     {"swap-codes", "FILE"},
     "\xEF\xBB\xBF"
     "82A0 \xE3\x81\x82\r\n",
     "\xEF\xBB\xBF"
     "A082 \xE3\x81\x82\r\n"},
    {"swap-codes-utf-16le-with-mark",
     {"swap-codes", "FILE"},
     "\xFF\xFE"
     "8\0"
     "1\0"
     "4\0"
     "0\0 \0\0\x30\r\0\n\0"s,  // 8140 and U+3000
     "\xFF\xFE"
     "4\0"
     "0\0"
     "8\0"
     "1\0 \0\0\x30\r\0\n\0"s},
    // ED40 decodes to 纊, which Shift_JIS stores as FA5C: stored again, the file would change.
    {"swap-codes-refuses-what-would-change", {"swap-codes", "FILE"}, "ED40 \xED\x40\r\n", "", 1},
    {"swap-codes-refuses-an-empty-file", {"swap-codes", "FILE"}, "", "", 1},
};

INSTANTIATE_TEST_SUITE_P(Cases, ToolTest, ::testing::ValuesIn(kToolCases), CaseName);

TEST_F(CliTest, DetectNamesEachEncoding) {
    const std::pair<const char*, const char*> files[] = {
        {"jis-common.sjis.txt", "SJIS\n"},     {"jis-common.eucjp.txt", "EUC\n"},
        {"jis-common.iso2022jp.txt", "JIS\n"}, {"jis-common.utf7.txt", "UTF7\n"},
        {"jis-common.utf8.txt", "UTF8\n"},     {"jis-common.utf16.txt", "UNICODE\n"},
    };
    for (const auto& [file, name] : files) {
        const Result result = Cli({"detect", (kData / "tables" / file).string()});
        EXPECT_EQ(result.status, 0) << file << ": " << result.err;
        EXPECT_EQ(result.out, name) << file;
    }
}

TEST_F(CliTest, DetectEmptyFileReported) {
    WriteBytes(dir_ / "empty.txt", "");
    const Result result = Cli({"detect", (dir_ / "empty.txt").string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("empty.txt"), std::string::npos) << result.err;
}

TEST_F(CliTest, DumpPrintsTheSlots) {
    const Result result = Cli({"dump", (kData / "reader" / "example.txt").string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, ReadBytes(kData / "reader" / "example.expected"));
}

// Without --table the program takes the table the window would take.
class DefaultTableTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        program_ = MakeProgramFolder();
        fs::create_directory(program_ / "settings");
        WriteBytes(program_ / "settings" / "b.txt", "41 b\r\n");
        WriteBytes(program_ / "settings" / "A.txt", "41 A\r\n");
        fs::create_directory(program_ / "settings" / "0-folder");
    }
    Result Convert() { return Run(program_ / "zelkora-cli", {"to-text"}, "41"); }
    void WriteIni(std::string_view content) { WriteBytes(program_ / "setting.ini", content); }

    fs::path program_;
};

TEST_F(DefaultTableTest, FirstInCatalogueOrderWithoutIni) {
    const Result result = Convert();
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "A");
}

TEST_F(DefaultTableTest, FileNamedInIni) {
    WriteIni("[Zelkora]\r\nRet=0\r\nFile=b.txt\r\n");
    EXPECT_EQ(Convert().out, "b");
}

// A script must not convert through another table than the one named: a name settings/ does
// not list, here one that differs in case, is an error.
TEST_F(DefaultTableTest, NameNotListedIsAnError) {
    WriteIni("[Zelkora]\r\nFile=B.TXT\r\n");
    const Result result = Convert();
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("'B.TXT'"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("--table"), std::string::npos) << result.err;
}

// -t with a bare name that names no file here: the table of that name in the tables folder.
TEST_F(DefaultTableTest, TableNamedFromTheTablesFolder) {
    const Result result = Run(program_ / "zelkora-cli", {"to-text", "-t", "b.txt"}, "41");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "b");
}

TEST_F(DefaultTableTest, RawByteNameInIni) {
    WriteBytes(program_ / "settings" / "\xFF.txt", "41 raw\r\n");
    WriteIni("[Zelkora]\r\nFile=\xFF.txt\r\n");
    EXPECT_EQ(Convert().out, "raw");
}

TEST_F(DefaultTableTest, NoTableListed) {
    fs::remove(program_ / "settings" / "b.txt");
    fs::remove(program_ / "settings" / "A.txt");
    const Result result = Convert();
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("settings"), std::string::npos) << result.err;
}

TEST_F(DefaultTableTest, NoSettingsFolder) {
    fs::remove_all(program_ / "settings");
    const Result result = Convert();
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("settings"), std::string::npos) << result.err;
}

}  // namespace
