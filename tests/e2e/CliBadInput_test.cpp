// Bad input through the command line: tables that are not files, a binary table, 10 MiB of
// codes without a space, and text or offsets --binary cannot take. The program must answer,
// never hang, and leave the table as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using zelkora::test::ReadBytes;
using zelkora::test::TempFolder;

const fs::path kBuiltCli = fs::path(ZELKORA_BIN_DIR) / "zelkora-cli";

class CliBadInputTest : public ::testing::Test {
protected:
    zelkora::test::ProgramRun Cli(std::vector<std::string> args, std::string_view input = {}) {
        return zelkora::test::RunProgram(kBuiltCli, std::move(args), input, dir_, 120s);
    }

    const TempFolder folder_{"zelkora-cli-bad"};
    const fs::path& dir_ = folder_.path();
};

// A table named with --table is read to its end whatever it is, a pipe included; a table
// named elsewhere must be a regular file, since a FIFO would block the command as it opens it.
// A device other than a terminal never ends and is refused at once. Each case is a shell
// command line: $0 is the program, $1 a folder holding in.txt ("AB") and big.txt.
struct NamedTableCase : zelkora::test::NamedCase {
    const char* command;
    int status;
    std::string said;  // standard output when the status is 0, else part of standard error
};

class NamedTableTest : public CliBadInputTest,
                       public ::testing::WithParamInterface<NamedTableCase> {};

TEST_P(NamedTableTest, ReadOrRefusedAtOnce) {
    std::ofstream(dir_ / "in.txt", std::ios::binary) << "AB";
    std::ofstream(dir_ / "big.txt", std::ios::binary) << "// A\n41 A\n// B\n42 B\n";
    const zelkora::test::ProgramRun run = zelkora::test::RunProgram(
        "/bin/bash", {"-c", GetParam().command, kBuiltCli.string(), dir_.string()}, {}, dir_, 120s);
    ASSERT_TRUE(run.started);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.status, GetParam().status) << run.err;
    EXPECT_NE((run.status == 0 ? run.out : run.err).find(GetParam().said), std::string::npos)
        << run.out << run.err;
}

const NamedTableCase kNamedTableCases[] = {
    {"process-substitution", R"("$0" to-codes -t <(grep -v '^//' "$1/big.txt") "$1/in.txt")", 0,
     "41 42 "},
    {"fifo-with-a-writer",
     R"(mkfifo "$1/fifo" && { printf '41 A\n42 B' >"$1/fifo" & } && "$0" to-codes -t "$1/fifo" "$1/in.txt")",
     0, "41 42 "},
    {"dev-stdin", R"(printf '41 A\n42 B' | "$0" to-codes -t /dev/stdin "$1/in.txt")", 0, "41 42 "},
    {"dev-stdin-also-the-input", R"(printf '41 A' | "$0" to-codes -t /dev/stdin)", 2,
     "both come from standard input"},
    {"dev-stdin-also-dash", R"(printf '41 A' | "$0" to-codes -t /dev/stdin "$1/in.txt" -)", 2,
     "both come from standard input"},
    // A regular file is opened anew by its path: standard input redirected from it is no clash.
    {"stdin-redirected-from-the-table", R"("$0" to-codes -t "$1/big.txt" <"$1/big.txt")", 0,
     "?? ?? ?? 41 \n?? ?? ?? 41 \n"},
    {"device", R"("$0" to-codes -t /dev/zero "$1/in.txt")", 1, "'/dev/zero': it is a device"},
    {"fifo-not-named-by-table", R"(mkfifo "$1/fifo" && "$0" detect "$1/fifo")", 1, "/fifo'"},
    {"device-not-named-by-table", R"("$0" detect /dev/zero)", 1, "/dev/zero"},
};

INSTANTIATE_TEST_SUITE_P(Cases, NamedTableTest, ::testing::ValuesIn(kNamedTableCases),
                         zelkora::test::CaseName);

// The start of the program's own binary as a table: no text file, so each command that reads a
// table says so, naming it, and leaves it as it was.
TEST_F(CliBadInputTest, BinaryFileAsTableRefused) {
    const fs::path table = dir_ / "binary.txt";
    const std::string before = ReadBytes(kBuiltCli).substr(0, 256 * 1024);
    std::ofstream(table, std::ios::binary) << before;
    const struct {
        std::vector<std::string> args;
        bool report;  // check-table reports on stdout, the others on stderr
    } commands[] = {{{"dump", table.string()}, false},
                    {{"to-codes", "--table", table.string()}, false},
                    {{"check-table", table.string()}, true}};
    for (const auto& command : commands) {
        const zelkora::test::ProgramRun run = Cli(command.args, "ELF");
        EXPECT_EQ(run.status, 1) << command.args.front();
        const std::string& said = command.report ? run.out : run.err;
        EXPECT_NE(said.find(table.string()), std::string::npos) << said;
        EXPECT_NE(said.find("not a text file"), std::string::npos) << said;
    }
    EXPECT_TRUE(ReadBytes(table) == before) << "the table file was changed";
}

// Pasted codes without spaces are cut into pairs however long they are.
TEST_F(CliBadInputTest, TenMebibytesOfUnspacedCodes) {
    const fs::path table = dir_ / "table.txt";
    std::ofstream(table, std::ios::binary) << "41 A\r\n3042 \xE3\x81\x82\r\n";  // あ
    std::string input;
    for (int i = 0; i < 10 * 1024 * 1024 / 4; ++i) {
        input += "4230";  // あ, lowest byte first
    }
    const zelkora::test::ProgramRun run = Cli({"to-text", "--table", table.string()}, input);
    ASSERT_FALSE(run.timedOut);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.size(), input.size() / 4 * 3);
    EXPECT_EQ(run.out.substr(0, 6), "\xE3\x81\x82\xE3\x81\x82");
    EXPECT_EQ(run.out.find_first_not_of("\xE3\x81\x82"), std::string::npos);
}

// --binary never writes a "??" into bytes: at a character without a code the output stops, and
// the message names it with its line and column.
struct BinaryCase : zelkora::test::NamedCase {
    std::vector<std::string> args;  // the table is added
    std::string input;
    std::string out;
    int status;
    std::string err;  // what the message holds
};

class BinaryBadInputTest : public CliBadInputTest,
                           public ::testing::WithParamInterface<BinaryCase> {};

TEST_P(BinaryBadInputTest, StopsWithAMessage) {
    const fs::path table = dir_ / "table.txt";
    std::ofstream(table, std::ios::binary) << "41 A\r\n42 B\r\n0A \\n\r\n4 C\r\nZZ D\r\n";
    std::vector<std::string> args = GetParam().args;
    args.insert(args.end(), {"--table", table.string()});
    const zelkora::test::ProgramRun run = Cli(args, GetParam().input);
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_EQ(run.out, GetParam().out);
    EXPECT_NE(run.err.find(GetParam().err), std::string::npos) << run.err;
}

const BinaryCase kBinaryCases[] = {
    {"character-without-code",
     {"to-codes", "--binary"},
     "AB\nBx\n",
     "AB",
     1,
     "\"\\x0D\" (line 1, column 3) has no code in the table (a line break inside the input "
     "converts only with --line-break"},
    {"character-after-a-line-break",
     {"to-codes", "--binary", "--line-break"},
     "AB\nBx\n",
     "AB\nB",
     1,
     "\"x\" (line 2, column 2) has no code in the table"},
    {"code-not-hexadecimal",
     {"to-codes", "--binary"},
     "AD",
     "A",
     1,
     "\"D\" (line 1, column 2) has the code \"ZZ\""},
    {"one-digit-code-is-a-byte", {"to-codes", "--binary"}, "C", "\x04", 0, ""},
    {"offset-beyond-the-end",
     {"to-text", "--binary", "--offset", "3"},
     "AB",
     "",
     1,
     "offset 3 is beyond the end of standard input (2 bytes)"},
    {"length-beyond-the-end", {"to-text", "--binary", "--length", "9"}, "AB", "AB", 0, ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, BinaryBadInputTest, ::testing::ValuesIn(kBinaryCases),
                         zelkora::test::CaseName);

}  // namespace
