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

using zelkora::test::PrintTo;
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

// A FIFO would block a reader that opened it like a file, and a device would never end.
TEST_F(CliBadInputTest, TableThatIsNotAFileRefusedAtOnce) {
    const fs::path fifo = dir_ / "fifo.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    for (const fs::path& table : {fifo, fs::path("/dev/zero")}) {
        for (const char* command : {"to-codes", "detect"}) {
            std::vector<std::string> args{command};
            if (std::string_view(command) == "to-codes") {
                args.push_back("--table");
            }
            args.push_back(table.string());
            const zelkora::test::ProgramRun run = Cli(args, "A");
            ASSERT_TRUE(run.started);
            EXPECT_FALSE(run.timedOut) << command << " " << table;
            EXPECT_EQ(run.status, 1) << command << " " << table;
            EXPECT_NE(run.err.find(table.string()), std::string::npos) << run.err;
        }
    }
}

// The start of the program's own binary as a table: read, listed and converted through like
// any file.
TEST_F(CliBadInputTest, BinaryFileAsTable) {
    const fs::path table = dir_ / "binary.txt";
    const std::string before = ReadBytes(kBuiltCli).substr(0, 256 * 1024);
    std::ofstream(table, std::ios::binary) << before;
    const zelkora::test::ProgramRun dump = Cli({"dump", table.string()});
    EXPECT_EQ(dump.status, 0) << dump.err;
    EXPECT_FALSE(dump.out.empty());
    const zelkora::test::ProgramRun codes = Cli({"to-codes", "--table", table.string()}, "ELF");
    EXPECT_EQ(codes.status, 0) << codes.err;
    const zelkora::test::ProgramRun text = Cli({"to-text", "--table", table.string()}, codes.out);
    EXPECT_EQ(text.status, 0) << text.err;
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
struct BinaryCase {
    const char* name;
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
