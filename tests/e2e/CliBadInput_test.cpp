// Bad input through the command line: tables that are not files, a binary table, and 10 MiB of
// codes without a space. The program must answer, never hang, and leave the table as it was.
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

}  // namespace
