// A table file of 200 MiB: the command line reads it whole, decodes and parses it and converts
// through it, and its memory stays within a bounded multiple of the file's size.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

using zelkora::test::CaseName;

constexpr std::size_t kMiB = 1024 * 1024;
constexpr std::size_t kFileSize = 200 * kMiB;

// The reader holds the file's bytes and their decoded text (up to two bytes a byte, plus the
// decoder's reserve), then one slot per line: a code and where its two texts lie in the decoded
// text, 28 bytes whatever the line holds. So the bound is per file byte and per line, and
// anything beyond it is a copy too many (a string of its own for each text is 64 bytes a line).
constexpr std::size_t kPerByte = 6;
constexpr std::size_t kPerLine = 28;
constexpr std::size_t kFixed = 64 * kMiB;

std::string RealTable() {
    return zelkora::test::ReadBytes(fs::path(ZELKORA_TEST_DATA) / "tables" / "jis-common.sjis.txt");
}

// Any byte but NUL, which would make it no text file, refused before it is parsed.
std::string RandomBytes() {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> byte(1, 255);
    std::string bytes(kMiB, '\0');
    for (char& b : bytes) {
        b = static_cast<char>(byte(random));
    }
    return bytes;
}

struct LargeCase : zelkora::test::NamedCase {
    std::string (*unit)();  // repeated up to the file's size
    std::string input;      // text for to-codes, UTF-8
    std::string output;     // its codes; empty: not checked
};

const LargeCase kCases[] = {
    {"shift-jis-table", RealTable, "A\xE4\xBA\x9C", "41 9F 88 "},  // A亜
    {"binary-file", RandomBytes, "A", ""},
};

class LargeTableTest : public ::testing::TestWithParam<LargeCase> {
protected:
    const zelkora::test::TempFolder folder_{"zelkora-large"};
    const fs::path& dir_ = folder_.path();
};

TEST_P(LargeTableTest, ConvertsWithinBoundedMemory) {
    const LargeCase& c = GetParam();
    const fs::path table = dir_ / "large.txt";
    std::size_t lines = 1;
    {
        const std::string unit = c.unit();
        std::ofstream file(table, std::ios::binary);
        for (std::size_t written = 0; written < kFileSize; written += unit.size()) {
            const std::size_t take = std::min(unit.size(), kFileSize - written);
            file.write(unit.data(), static_cast<std::streamsize>(take));
            for (std::size_t at = unit.find("\r\n"); at != std::string::npos && at + 1 < take;
                 at = unit.find("\r\n", at + 2)) {
                ++lines;
            }
        }
    }
    ASSERT_EQ(fs::file_size(table), kFileSize);

    const zelkora::test::ProgramRun run = zelkora::test::RunProgram(
        fs::path(ZELKORA_BIN_DIR) / "zelkora-cli", {"to-codes", "--table", table.string()}, c.input,
        dir_, std::chrono::seconds(900));
    ASSERT_TRUE(run.started);
    ASSERT_FALSE(run.timedOut);
    ASSERT_EQ(run.status, 0) << run.err;
    if (!c.output.empty()) {
        EXPECT_EQ(run.out, c.output);
    }
    const std::size_t bound = kPerByte * kFileSize + kPerLine * lines + kFixed;
    const std::size_t peak = static_cast<std::size_t>(run.peakKiB) * 1024;
    EXPECT_LE(peak, bound) << lines << " lines";
    RecordProperty("peak_mib", static_cast<int>(peak / kMiB));
    RecordProperty("bound_mib", static_cast<int>(bound / kMiB));
}

INSTANTIATE_TEST_SUITE_P(Files, LargeTableTest, ::testing::ValuesIn(kCases), CaseName);

}  // namespace
