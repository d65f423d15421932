#include "core/common/mod_ini.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <utility>

#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

namespace fs = std::filesystem;

class IniFileTest {
protected:
    void Write(std::string_view content) { test::WriteBytes(file_, content); }
    std::string Read() const { return test::ReadBytes(file_); }
    std::size_t EntriesInFolder() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    const test::TempFolder folder_{"zelkora-ini"};
    const fs::path& dir_ = folder_.path();
    const fs::path file_ = dir_ / "setting.ini";
};

struct ReadCase : test::NamedCase {
    std::string content;
    std::u16string section;
    std::u16string key;
    std::optional<std::u16string> value;  // nothing: the default comes back
};

class ReadStringTest : public IniFileTest, public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadStringTest, Reads) {
    Write(GetParam().content);
    EXPECT_EQ(GetIniString(GetParam().section, GetParam().key, file_, u"(default)"),
              GetParam().value.value_or(u"(default)"));
}

const ReadCase kReadCases[] = {
    {"plain", "[Zelkora]\r\nFile=a.txt\r\n", u"Zelkora", u"File", u"a.txt"},
    {"lf-line-ends", "[Zelkora]\nRet=0\nFile=a.txt\n", u"Zelkora", u"File", u"a.txt"},
    {"section-case-ignored", "[zELKORA]\r\nFile=a\r\n", u"Zelkora", u"File", u"a"},
    {"key-case-ignored", "[Zelkora]\r\nfile=a\r\n", u"Zelkora", u"FILE", u"a"},
    {"non-ascii-case-ignored", "[\xC3\xA4\xCE\xB2]\r\nK=a\r\n", u"\u00C4\u0392", u"K", u"a"},
    {"blanks-trimmed", "  [ Zelkora ]\r\n \tFile \t=  a b \t\r\n", u"Zelkora", u"File", u"a b"},
    {"quotes-removed", "[Zelkora]\r\nFile=\" a \"\r\n", u"Zelkora", u"File", u" a "},
    {"empty-value-is-not-missing", "[Zelkora]\r\nFile=\r\n", u"Zelkora", u"File", u""},
    {"equals-in-value", "[Zelkora]\r\nFile=a=b\r\n", u"Zelkora", u"File", u"a=b"},
    {"first-key-wins", "[Zelkora]\r\nFile=a\r\nFile=b\r\n", u"Zelkora", u"File", u"a"},
    {"only-first-section", "[Zelkora]\r\nRet=0\r\n[Zelkora]\r\nFile=b\r\n", u"Zelkora", u"File",
     std::nullopt},
    {"other-section", "[Other]\r\nFile=a\r\n[Zelkora]\r\nRet=0\r\n", u"Zelkora", u"File",
     std::nullopt},
    {"key-before-any-section", "File=a\r\n[Zelkora]\r\n", u"Zelkora", u"File", std::nullopt},
    {"commented-out", "[Zelkora]\r\n;File=a\r\n#File=b\r\n", u"Zelkora", u"File", std::nullopt},
    {"missing-section", "; nothing\r\n", u"Zelkora", u"File", std::nullopt},
    {"byte-order-mark", "\xEF\xBB\xBF[Zelkora]\r\nFile=a\r\n", u"Zelkora", u"File", u"a"},
    {"utf8-value", "[Zelkora]\r\nFile=\xE6\xBC\xA2.txt\r\n", u"Zelkora", u"File", u"漢.txt"},
    // A file name that is not UTF-8 comes back as the lone surrogates that stand for its bytes.
    {"raw-byte-value", "[Zelkora]\r\nFile=\xFF.txt\r\n", u"Zelkora", u"File", u"\xDCFF.txt"},
    {"value-cut", "[Zelkora]\r\nFile=" + std::string(40000, 'x') + "\r\n", u"Zelkora", u"File",
     std::u16string(32766, u'x')},
    {"value-cut-keeps-pairs",
     "[Zelkora]\r\nFile=" + std::string(32765, 'x') + "\xF0\x9F\x98\x80" + "\r\n", u"Zelkora",
     u"File", std::u16string(32765, u'x')},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReadStringTest, ::testing::ValuesIn(kReadCases), test::CaseName);

using IntCase = test::Case<std::string, std::int32_t>;  // what follows "Ret=", what it reads as

class ReadIntTest : public IniFileTest, public ::testing::TestWithParam<IntCase> {};

TEST_P(ReadIntTest, Reads) {
    Write("[Zelkora]\r\nRet=" + GetParam().input + "\r\n");
    EXPECT_EQ(GetIniInt(u"Zelkora", u"Ret", 7, file_), GetParam().expected);
}

const IntCase kIntCases[] = {
    {"digits", "42", 42},
    {"negative", "-12", -12},
    {"digits-then-letters", "5abc", 5},
    {"letters", "abc", 0},
    {"empty", "", 0},
    {"plus-is-not-a-digit", "+5", 0},
    {"blanks-trimmed", "  8 ", 8},
    {"quoted", "\"9\"", 9},
    {"too-large-saturates", "2147483648", std::numeric_limits<std::int32_t>::max()},
    {"too-small-saturates", "-99999999999999999999999", std::numeric_limits<std::int32_t>::min()},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReadIntTest, ::testing::ValuesIn(kIntCases), test::CaseName);

class IniTest : public IniFileTest, public ::testing::Test {};

TEST_F(IniTest, MissingFileGivesDefaults) {
    EXPECT_EQ(GetIniInt(u"Zelkora", u"X", -5, file_), -5);
    EXPECT_EQ(GetIniString(u"Zelkora", u"File", file_, u"d"), u"d");
}

TEST_F(IniTest, MissingKeyGivesIntDefault) {
    Write("[Zelkora]\r\nRet=1\r\n");
    EXPECT_EQ(GetIniInt(u"Zelkora", u"X", 1440, file_), 1440);
}

struct WriteCase : test::NamedCase {
    std::optional<std::string> before;  // nothing: no file yet
    std::u16string key;
    std::u16string value;
    std::string after;
};

class WriteTest : public IniFileTest, public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriteTest, Writes) {
    if (GetParam().before) {
        Write(*GetParam().before);
    }
    ASSERT_TRUE(WriteIniString(u"Zelkora", GetParam().key, GetParam().value, file_));
    EXPECT_EQ(Read(), GetParam().after);
    EXPECT_EQ(EntriesInFolder(), 1u) << "a temporary file was left behind";
}

const WriteCase kWriteCases[] = {
    {"creates-file", std::nullopt, u"File", u"a.txt", "[Zelkora]\r\nFile=a.txt\r\n"},
    {"replaces-and-keeps-the-rest",
     "; top\r\n[Other]\r\nFile=x\r\n\r\n[zelkora]\r\nRet=0\r\n file = old \r\n; note\r\n", u"File",
     u"new", "; top\r\n[Other]\r\nFile=x\r\n\r\n[zelkora]\r\nRet=0\r\nFile=new\r\n; note\r\n"},
    {"replaces-first-only", "[Zelkora]\r\nFile=1\r\nFile=2\r\n", u"File", u"3",
     "[Zelkora]\r\nFile=3\r\nFile=2\r\n"},
    {"keeps-lf-line-ends", "[Zelkora]\nRet=0\nFile=b\n", u"File", u"a",
     "[Zelkora]\nRet=0\nFile=a\n"},
    {"replaces-last-line-without-line-end", "[Zelkora]\r\nFile=b", u"File", u"a",
     "[Zelkora]\r\nFile=a"},
    {"appends-before-blank-lines", "[Zelkora]\r\nRet=0\r\n\r\n[Other]\r\nA=1\r\n", u"File", u"a",
     "[Zelkora]\r\nRet=0\r\nFile=a\r\n\r\n[Other]\r\nA=1\r\n"},
    {"appends-to-last-line-without-line-end", "[Zelkora]\r\nRet=0", u"File", u"a",
     "[Zelkora]\r\nRet=0\r\nFile=a\r\n"},
    {"appends-to-empty-section", "[Zelkora]", u"File", u"a", "[Zelkora]\r\nFile=a\r\n"},
    {"appends-new-section", "[Other]\r\nA=1", u"File", u"a",
     "[Other]\r\nA=1\r\n[Zelkora]\r\nFile=a\r\n"},
    {"keeps-byte-order-mark", "\xEF\xBB\xBF[Zelkora]\r\nFile=b\r\n", u"File", u"a",
     "\xEF\xBB\xBF[Zelkora]\r\nFile=a\r\n"},
    {"utf8-value", std::nullopt, u"File", u"漢.txt", "[Zelkora]\r\nFile=\xE6\xBC\xA2.txt\r\n"},
    {"raw-byte-value", std::nullopt, u"File", u"\xDCFF.txt", "[Zelkora]\r\nFile=\xFF.txt\r\n"},
    {"blank-ends-quoted", std::nullopt, u"File", u" a ", "[Zelkora]\r\nFile=\" a \"\r\n"},
    {"quoted-value-quoted-again", std::nullopt, u"File", u"\"a\"",
     "[Zelkora]\r\nFile=\"\"a\"\"\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, WriteTest, ::testing::ValuesIn(kWriteCases), test::CaseName);

TEST_F(IniTest, ValuesComeBackAsWritten) {
    for (const std::u16string value :
         {u"a.txt", u" a ", u"\"a\"", u"\"", u"", u"\xDC82\xDCA0.txt", u"😀"}) {
        ASSERT_TRUE(WriteIniString(u"Zelkora", u"File", value, file_));
        EXPECT_EQ(GetIniString(u"Zelkora", u"File", file_, u"(default)"), value);
    }
}

TEST_F(IniTest, LineEndInValueIsRefusedAndFileKept) {
    Write("[Zelkora]\r\nFile=a\r\n");
    EXPECT_FALSE(WriteIniString(u"Zelkora", u"File", u"b\r\nRet=-1", file_));
    EXPECT_FALSE(WriteIniString(u"Zelkora", u"File", u"b\nc", file_));
    EXPECT_EQ(Read(), "[Zelkora]\r\nFile=a\r\n");
}

// Names that reading would never find again are refused as those that cannot stand on a line.
TEST_F(IniTest, NamesThatCannotBeReadBackAreRefused) {
    Write("[Zelkora]\r\nFile=a\r\n");
    const std::pair<std::u16string_view, std::u16string_view> names[] = {
        {u"Zelkora", u";File"}, {u"Zelkora", u"#File"},  {u"Zelkora", u"[File"},
        {u"Zelkora", u" File"}, {u"Zelkora", u"File\t"}, {u";Zelkora", u"File"},
        {u"#Zelkora", u"File"}, {u" Zelkora", u"File"},  {u"Zelkora ", u"File"},
    };
    for (const auto& [section, key] : names) {
        const Result<> written = WriteIniString(section, key, u"b", file_);
        EXPECT_FALSE(written) << testing::PrintToString(std::u16string(section)) << " "
                              << testing::PrintToString(std::u16string(key));
        EXPECT_EQ(written.error(), std::errc::invalid_argument);
    }
    EXPECT_EQ(Read(), "[Zelkora]\r\nFile=a\r\n");
}

// A writer that gave up waiting for the lock writes its temporary file while the lock's holder
// writes: the holder leaves it alone, its writer (here this very process) being alive.
TEST_F(IniTest, RunningWritersTemporaryFileKept) {
    const fs::path pending = dir_ / (".setting.ini." + std::to_string(::getpid()) + ".0.tmp");
    test::WriteBytes(pending, "[Zelkora]\r\nFile=b\r\n");
    ASSERT_TRUE(WriteIniString(u"Zelkora", u"File", u"a", file_));
    EXPECT_EQ(test::ReadBytes(pending), "[Zelkora]\r\nFile=b\r\n");
}

TEST_F(IniTest, FileModeKept) {
    Write("[Zelkora]\r\nFile=a\r\n");
    fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(WriteIniString(u"Zelkora", u"File", u"b", file_));
    EXPECT_EQ(fs::status(file_).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(IniTest, LinkedFileRewrittenThroughTheLink) {
    const fs::path real = dir_ / "real.ini";
    test::WriteBytes(real, "[Zelkora]\r\nFile=a\r\n");
    fs::create_symlink(real, file_);
    ASSERT_TRUE(WriteIniString(u"Zelkora", u"File", u"b", file_));
    EXPECT_TRUE(fs::is_symlink(file_));
    EXPECT_EQ(GetIniString(u"Zelkora", u"File", real, u""), u"b");
}

TEST_F(IniTest, MissingFolderFailsSilently) {
    EXPECT_FALSE(WriteIniString(u"Zelkora", u"File", u"a", dir_ / "missing" / "setting.ini"));
    EXPECT_EQ(EntriesInFolder(), 0u);
    // No folder at all (no HOME): nothing is written where the program happens to run.
    const fs::path here = fs::current_path();
    fs::current_path(dir_);
    const Result<> written = WriteIniString(u"Zelkora", u"File", u"a", fs::path());
    fs::current_path(here);
    EXPECT_EQ(written.error(), std::errc::no_such_file_or_directory);
    EXPECT_EQ(EntriesInFolder(), 0u);
}

TEST_F(IniTest, ReadOnlyFolderFailsAndKeepsOldFile) {
    Write("[Zelkora]\r\nFile=a\r\n");
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read |
                              fs::perms::others_exec);
    fs::permissions(file_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    // Root writes anywhere, so the write is made from a child process without its privileges.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(2);
        }
        ::_exit(WriteIniString(u"Zelkora", u"File", u"b", file_) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    fs::permissions(dir_, fs::perms::owner_all);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the write claimed success; 2: could not drop root";
    EXPECT_EQ(Read(), "[Zelkora]\r\nFile=a\r\n");
    EXPECT_EQ(EntriesInFolder(), 1u);
}

}  // namespace
}  // namespace zelkora
