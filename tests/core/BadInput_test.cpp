// Bad input of every kind: broken or hostile table files, files that change or vanish while
// the program works, oversized inputs, and a setting.ini that is damaged or cannot be written.
// In every case: no crash, no hang, the previous table stays in use when a read yields no
// text, and nothing but setting.ini is ever written.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <optional>
#include <ostream>
#include <random>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "core/common/mod_ini.h"
#include "core/encoding/modJudge.h"
#include "core/engine/CodeToText.h"
#include "core/engine/Spacing.h"
#include "core/engine/TextToCode.h"
#include "core/tables/Catalogue.h"
#include "core/tables/TableReader.h"
#include "tests/core/EngineTable.h"
#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace std::string_literals;

constexpr std::size_t kMiB = 1024 * 1024;
constexpr std::u16string_view kSection = u"Zelkora";

using test::AsBytes;
using test::CaseName;
using test::ReadBytes;
using test::Snapshot;
using test::WriteBytes;

std::string Utf16Le(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

// The start of this test program: a real binary file.
std::string BinaryFile() {
    return ReadBytes("/proc/self/exe").substr(0, 64 * 1024);
}

// Runs `body` in a child process and gives its exit status; nothing when it did not finish
// within `limit` (it is then killed), so a hang fails the test instead of stalling the run.
std::optional<int> RunInChild(const std::function<int()>& body, std::chrono::milliseconds limit) {
    const pid_t child = ::fork();
    if (child < 0) {
        return std::nullopt;
    }
    if (child == 0) {
        ::_exit(body());
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return std::nullopt;
        }
        std::this_thread::sleep_for(2ms);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Tests run as root, whom permissions do not stop; a child that has to be stopped by them
// becomes nobody first.
constexpr int kCannotDropRoot = 99;
bool DropRoot() {
    return ::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0);
}

// The table the program holds before the read under test.
CodeTable PreviousTable() {
    return ParseTable(u"41 A\r\n42 B");
}

// ---------------------------------------------------------------------------------------------
// Table files with bytes no table should hold.

struct Slot {
    std::size_t index;
    std::u16string codeText;
    std::int32_t code;
    std::u16string character;
};

struct BadTableCase : test::NamedCase {
    std::string bytes;
    std::optional<Encoding> encoding;    // what detection must make of it, so the case is what
                                         // its name says
    std::optional<std::size_t> slots;    // nothing: not checked (binary)
    std::vector<Slot> intact;            // these read exactly so
    std::vector<Slot> replaced;          // code as given, character part holding U+FFFD
    ReadStatus status = ReadStatus::Ok;  // else the previous table stays
};

// Each bad sequence is followed by CR LF and a good line: a decoder that swallowed the line
// end would merge or lose the next entry.
const BadTableCase kBadTableCases[] = {
    // NUL bytes become U+0000, which no text file holds: not a table.
    {"binary-file", BinaryFile(), std::nullopt, std::nullopt, {}, {}, ReadStatus::NotTextFile},
    {"shift-jis-invalid-bytes",
     // あ / lone lead / lone A0 / unassigned 85 40 / FD / lead before CR / い
     "41 \x82\xA0\r\n42 \x81\r\n43 \xA0"
     "C\r\n44 \x85\x40\r\n45 \xFD\r\n46 \x82\r\n47 \x82\xA2",
     Encoding::SJIS,
     7,
     {{0, u"41", 0x41, u"あ"}, {6, u"47", 0x47, u"い"}},
     {{1, u"42", 0x42, {}},
      {2, u"43", 0x43, {}},
      {3, u"44", 0x44, {}},
      {4, u"45", 0x45, {}},
      {5, u"46", 0x46, {}}}},
    {"euc-jp-invalid-bytes",
     // あ / lone lead / cut JIS X 0212 / bad kana / い / う / FE FF
     "41 \xA4\xA2\r\n42 \xA4\r\n43 \x8F\xA1\r\n44 \x8E\xFF\r\n45 \xA4\xA4\r\n46 \xA4\xA6\r\n"
     "47 \xFE\xFF",
     Encoding::EUC,
     7,
     {{0, u"41", 0x41, u"あ"}, {4, u"45", 0x45, u"い"}, {5, u"46", 0x46, u"う"}},
     {{1, u"42", 0x42, {}}, {2, u"43", 0x43, {}}, {3, u"44", 0x44, {}}, {6, u"47", 0x47, {}}}},
    {"utf-8-invalid-bytes",
     // あ / cut unit / overlong / encoded surrogate / beyond U+10FFFF / い / FF
     "41 \xE3\x81\x82\r\n42 \xE3\x81\r\n43 \xC0\xAF\r\n44 \xED\xA0\x80\r\n45 \xF4\x90\x80\x80\r\n"
     "46 \xE3\x81\x84\r\n47 \xFF",
     Encoding::UTF8,
     7,
     {{0, u"41", 0x41, u"あ"}, {5, u"46", 0x46, u"い"}},
     {{1, u"42", 0x42, {}},
      {2, u"43", 0x43, {}},
      {3, u"44", 0x44, {}},
      {4, u"45", 0x45, {}},
      {6, u"47", 0x47, {}}}},
    {"iso-2022-jp-invalid-bytes",
     // あ / 7F 7F in JIS X 0208 / unknown escape / い / byte above 7F
     "41 \x1B$B$\"\x1B(B\r\n42 \x1B$B\x7F\x7F\x1B(B\r\n43 \x1B$Z\r\n44 \x1B$B$$\x1B(B\r\n"
     "45 \x80",
     Encoding::JIS,
     5,
     {{0, u"41", 0x41, u"あ"}, {3, u"44", 0x44, u"い"}},
     {{2, u"43", 0x43, {}}, {4, u"45", 0x45, {}}}},
    {"utf-7-invalid-bytes",
     // あ / unterminated い / "+!" / lone high surrogate / う / byte above 7F
     "41 +MEI-\r\n42 +MEQ\r\n43 +!\r\n44 +2D3cAA-\r\n45 +MEY-\r\n46 \x80",
     Encoding::UTF7,
     6,
     {{0, u"41", 0x41, u"あ"},
      {1, u"42", 0x42, u"い"},
      {2, u"43", 0x43, u"+!"},
      {4, u"45", 0x45, u"う"}},
     {{5, u"46", 0x46, {}}}},
    {"utf-16-unpaired-surrogates",
     Utf16Le(u"41 \xD800\r\n42 \xDC00"
             u"B\r\n43 \xDBFF\xDBFF\r\n44 C\r\n45 \xDFFF"),
     Encoding::Unicode,
     5,
     {{0, u"41", 0x41, u"\xD800"},
      {1, u"42", 0x42,
       u"\xDC00"
       u"B"},
      {2, u"43", 0x43, u"\xDBFF\xDBFF"},
      {3, u"44", 0x44, u"C"},
      {4, u"45", 0x45, u"\xDFFF"}},
     {}},
    {"utf-16-odd-length",
     Utf16Le(u"41 A\r\n42 B") + "C",
     Encoding::Unicode,
     2,
     {{0, u"41", 0x41, u"A"}, {1, u"42", 0x42, u"B"}},
     {}},
    {"nul-bytes", "41 A\r\n42 B\r\n43 \0"s, std::nullopt, {}, {}, {}, ReadStatus::NotTextFile},
    {"nul-bytes-utf-16",
     Utf16Le(u"41 \0\r\n42 B"s),
     Encoding::Unicode,
     {},
     {},
     {},
     ReadStatus::NotTextFile},
};

ZELKORA_TEST_CASES(Files, BadTableTest, ReadsWithoutHarm, kBadTableCases) {
    const BadTableCase& c = GetParam();
    const test::TempFolder settings("zelkora-bad");
    const fs::path file = settings.path() / "table.txt";
    WriteBytes(file, c.bytes);
    const auto before = Snapshot(settings.path());
    if (c.encoding) {
        ASSERT_EQ(DetectEncoding(AsBytes(c.bytes)), *c.encoding);
    }

    CodeTable table = PreviousTable();
    ASSERT_EQ(ReadTableFile(file, table), c.status);
    EXPECT_EQ(Snapshot(settings.path()), before) << "the reader changed the settings folder";
    if (c.status != ReadStatus::Ok) {
        EXPECT_TRUE(test::SameSlots(table, PreviousTable()));
        return;
    }
    if (c.slots) {
        ASSERT_EQ(table.size(), *c.slots);
    }
    for (const Slot& slot : c.intact) {
        ASSERT_LT(slot.index, table.size());
        EXPECT_EQ(table.CodeTexts(slot.index), slot.codeText) << "slot " << slot.index;
        EXPECT_EQ(table.Codes(slot.index), slot.code) << "slot " << slot.index;
        EXPECT_EQ(table.Characters(slot.index), slot.character) << "slot " << slot.index;
        // The table is usable: the entry converts both ways.
        if (!slot.codeText.empty()) {
            EXPECT_EQ(fCodeToText(table, slot.codeText, false), slot.character);
        }
        if (slot.character.size() == 1) {
            EXPECT_EQ(fTextToCode(table, slot.character, false), slot.codeText + u" ");
        }
    }
    for (const Slot& slot : c.replaced) {
        ASSERT_LT(slot.index, table.size());
        EXPECT_EQ(table.CodeTexts(slot.index), slot.codeText) << "slot " << slot.index;
        EXPECT_EQ(table.Codes(slot.index), slot.code) << "slot " << slot.index;
        EXPECT_NE(table.Characters(slot.index).find(u'\uFFFD'), std::u16string::npos)
            << "slot " << slot.index;
    }
    // Whatever a binary file gave, converting through it works.
    std::u16string sample;
    for (std::size_t slot = 0; slot < table.size() && sample.size() < 4096; ++slot) {
        sample.append(table.Characters(slot)).append(table.CodeTexts(slot)).append(u" ");
    }
    const std::u16string codes = fTextToCode(table, sample, true);
    EXPECT_EQ(codes.empty(), sample.empty());
    static_cast<void>(fCodeToText(table, codes, true));
    static_cast<void>(fCodeToText(table, fSplitPairs(sample), false));
}

// Lines of 10 MiB: as a character part, as a line without a space, as a code field. The line
// after each must still be read.
TEST(BadTable, LinesOfTenMebibytes) {
    const test::TempFolder settings("zelkora-bad");
    const std::string longText(10 * kMiB, 'x');
    const std::string longDigits(10 * kMiB, '4');
    const std::u16string longText16(longText.begin(), longText.end());
    const std::u16string longDigits16(longDigits.begin(), longDigits.end());
    const struct {
        const char* name;
        std::string bytes;
        Slot first;
    } cases[] = {
        {"character-part", "41 " + longText + "\r\n42 B", {0, u"41", 0x41, longText16}},
        {"no-space", longDigits + "\r\n42 B", {0, u"", 0, longDigits16}},
        {"code-field", longDigits + " A\r\n42 B", {0, longDigits16, 0, u"A"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = settings.path() / c.name;
        WriteBytes(file, c.bytes);
        CodeTable table = PreviousTable();
        ASSERT_EQ(ReadTableFile(file, table), ReadStatus::Ok);
        ASSERT_EQ(table.size(), 2u);
        // Compared by hand: a failure must not print 10 MiB.
        EXPECT_TRUE(table.CodeTexts(0) == c.first.codeText);
        EXPECT_EQ(table.Codes(0), c.first.code);
        EXPECT_TRUE(table.Characters(0) == c.first.character);
        EXPECT_EQ(table.Characters(1), u"B");
        EXPECT_EQ(fCodeToText(table, u"42", false), u"B");
        EXPECT_EQ(ReadBytes(file).size(), c.bytes.size());
    }
}

// ---------------------------------------------------------------------------------------------
// A table file that was listed and picked, then spoilt before the next conversion.

struct GoneCase : test::NamedCase {
    void (*spoil)(const fs::path& file);
    bool asNobody;  // permissions only stop a process without root's privileges
    ReadStatus status;
};

const GoneCase kGoneCases[] = {
    {"deleted", [](const fs::path& file) { fs::remove(file); }, false, ReadStatus::CannotOpen},
    {"replaced-by-folder",
     [](const fs::path& file) {
         fs::remove(file);
         fs::create_directory(file);
     },
     false, ReadStatus::CannotOpen},
    // Opening a FIFO for reading waits for a writer; the reader must refuse it instead.
    {"replaced-by-fifo",
     [](const fs::path& file) {
         fs::remove(file);
         ::mkfifo(file.c_str(), 0644);
     },
     false, ReadStatus::CannotOpen},
    // A device never ends: reading it whole would never finish.
    {"replaced-by-link-to-device",
     [](const fs::path& file) {
         fs::remove(file);
         fs::create_symlink("/dev/zero", file);
     },
     false, ReadStatus::CannotOpen},
    {"replaced-by-dangling-link",
     [](const fs::path& file) {
         fs::remove(file);
         fs::create_symlink(file.parent_path() / "nowhere.txt", file);
     },
     false, ReadStatus::CannotOpen},
    {"emptied", [](const fs::path& file) { fs::resize_file(file, 0); }, false,
     ReadStatus::EmptyFile},
    {"made-unreadable", [](const fs::path& file) { fs::permissions(file, fs::perms::none); }, true,
     ReadStatus::CannotOpen},
};

ZELKORA_TEST_CASES(Files, TableGoneTest, PreviousTableStaysInUse, kGoneCases) {
    const GoneCase& c = GetParam();
    const test::TempFolder settings("zelkora-bad");
    fs::permissions(settings.path(), fs::perms::all);  // so that nobody may look inside
    WriteBytes(settings.path() / "a.txt", "41 A\r\n42 B");
    WriteBytes(settings.path() / "b.txt", "// b\r\n43 C");

    const auto names = ListTableFiles(settings.path());
    ASSERT_TRUE(names.has_value());
    const auto chosen = ChooseTable(*names, u"b.txt");
    ASSERT_EQ(chosen, "b.txt");
    const fs::path file = settings.path() / *chosen;
    CodeTable table = PreviousTable();
    ASSERT_EQ(ReadTableFile(file, table), ReadStatus::Ok);
    const CodeTable previous = table;

    c.spoil(file);
    const auto before = Snapshot(settings.path());
    // In a child, so that a reader that blocks is caught and killed.
    const auto result = RunInChild(
        [&] {
            if (c.asNobody && !DropRoot()) {
                return kCannotDropRoot;
            }
            CodeTable mine = previous;
            const Result<> status = ReadTableFile(file, mine);
            return (status == c.status ? 0 : 1) | (test::SameSlots(mine, previous) ? 0 : 2);
        },
        10s);
    ASSERT_TRUE(result.has_value()) << "reading the spoilt table hung";
    EXPECT_EQ(*result, 0) << "1: unexpected status, 2: the table changed, 99: could not drop root";
    EXPECT_EQ(Snapshot(settings.path()), before) << "the reader changed the settings folder";
}

// Another program cuts the file short and writes it again while the reader reads it. Every
// read yields either nothing (the table stays) or a table made from a leading part of the file.
// A read racing a truncation may see zeros where the cut was, which makes it no text file.
TEST(BadTable, TruncatedWhileBeingRead) {
    const test::TempFolder settings("zelkora-bad");
    const fs::path file = settings.path() / "table.txt";
    std::string content;
    for (int code = 0x100; code < 0x4100; ++code) {
        char line[16];
        std::snprintf(line, sizeof line, "%04X %c\r\n", code, 'A' + code % 26);
        content += line;
    }
    WriteBytes(file, content);
    const CodeTable whole = ParseTable(std::u16string(content.begin(), content.end()));

    std::atomic<bool> stop{false};
    std::thread cutter([&] {
        const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
        std::mt19937 random(7);
        while (!stop) {
            const bool ok = ::ftruncate(fd, static_cast<off_t>(random() % content.size())) == 0 &&
                            ::pwrite(fd, content.data(), content.size(), 0) ==
                                static_cast<ssize_t>(content.size());
            if (!ok) {
                break;
            }
        }
        ::close(fd);
    });
    int partial = 0;
    for (int round = 0; round < 300; ++round) {
        CodeTable table = PreviousTable();
        const Result<> status = ReadTableFile(file, table);
        if (status != ReadStatus::Ok) {
            EXPECT_TRUE(status == ReadStatus::EmptyFile || status == ReadStatus::NotTextFile);
            EXPECT_TRUE(test::SameSlots(table, PreviousTable()));
            continue;
        }
        ASSERT_GE(table.size(), 1u);
        ASSERT_LE(table.size(), whole.size());
        partial += table.size() < whole.size();
        // The last line read may be cut.
        for (std::size_t slot = 0; slot + 1 < table.size(); ++slot) {
            ASSERT_EQ(table.CodeTexts(slot), whole.CodeTexts(slot)) << "slot " << slot;
            ASSERT_EQ(table.Characters(slot), whole.Characters(slot)) << "slot " << slot;
        }
    }
    stop = true;
    cutter.join();
    RecordProperty("partial_reads", partial);
}

// ---------------------------------------------------------------------------------------------
// The settings folder and the input.

TEST(BadSettingsFolder, ReplacedByAFile) {
    const test::TempFolder program("zelkora-bad");
    const fs::path settings = program.path() / "settings";
    WriteBytes(settings, "41 A\r\n");
    const auto before = Snapshot(program.path());

    EXPECT_FALSE(ListTableFiles(settings).has_value());
    CodeTable table = PreviousTable();
    EXPECT_EQ(ReadTableFile(settings / "a.txt", table), ReadStatus::CannotOpen);
    EXPECT_TRUE(test::SameSlots(table, PreviousTable()));
    EXPECT_EQ(Snapshot(program.path()), before);
}

// 10 MiB of codes without a space, pasted and converted the way the buttons do it.
TEST(BadCodesInput, TenMebibytesWithoutSpaces) {
    const CodeTable table = ParseTable(u"41 A\r\n3042 \u3042");
    std::u16string input;
    for (std::size_t i = 0; i < 10 * kMiB / 4; ++i) {
        input += u"4230";  // あ, lowest byte first
    }
    ASSERT_TRUE(LooksLikeCodes(input));
    ASSERT_TRUE(NeedsSpacing(input));
    const std::u16string spaced = fSplitPairs(input);
    EXPECT_EQ(spaced.size(), input.size() + input.size() / 2 - 1);
    const std::u16string text = fCodeToText(table, spaced, false);
    EXPECT_EQ(text.size(), input.size() / 4);
    EXPECT_EQ(text.find_first_not_of(u'\u3042'), std::u16string::npos);
}

// ---------------------------------------------------------------------------------------------
// setting.ini with content no program of ours wrote.

struct IniCase : test::NamedCase {
    std::string content;
    std::u16string file;  // "File" as read; "(none)" when missing
    std::int32_t ret;     // "Ret" as read; 7 when missing
    std::int32_t x;       // "X" as read; 7 when missing
};

std::string Garbage() {
    std::mt19937 random(1);
    std::string bytes(4096, '\0');
    for (char& b : bytes) {
        b = static_cast<char>(random());
    }
    return bytes;
}

const IniCase kIniCases[] = {
    {"garbage", Garbage(), u"(none)", 7, 7},
    {"binary-file", BinaryFile(), u"(none)", 7, 7},
    {"nul-bytes",
     "[Zelkora]\r\nRet=-1\r\n\0\0\0\r\nX=1\0"
     "2\r\n"s,
     u"(none)", -1, 1},
    {"invalid-utf-8",
     "\xFF\xFE[\xC0\xAF]\r\n[Zelkora]\r\n\xE3\x81=1\r\nFile=\xC0\xAF\xFF.txt\r\nRet=-1\r\nX=\xFF"
     "5\r\n",
     u"\xDCC0\xDCAF\xDCFF.txt", -1, 0},
    {"huge-values",
     "[Zelkora]\r\nFile=" + std::string(10 * kMiB, 'x') +
         "\r\nRet=-1\r\nX=" + std::string(100000, '9') + "\r\n",
     std::u16string(32766, u'x'), -1, std::numeric_limits<std::int32_t>::max()},
};

// Reads give what can be read and defaults for the rest; a write then changes only its own
// line and keeps every other byte of the file as it was.

ZELKORA_TEST_CASES(Files, IniBadFileTest, ReadsAndRewritesSafely, kIniCases) {
    const IniCase& c = GetParam();
    const test::TempFolder program("zelkora-bad");
    const fs::path ini = program.path() / "setting.ini";
    WriteBytes(ini, c.content);

    EXPECT_TRUE(GetIniString(kSection, u"File", ini, u"(none)") == c.file);
    EXPECT_EQ(GetIniInt(kSection, u"Ret", 7, ini), c.ret);
    EXPECT_EQ(GetIniInt(kSection, u"X", 7, ini), c.x);

    ASSERT_TRUE(WriteIniString(kSection, u"File", u"new.txt", ini));
    const std::string after = ReadBytes(ini);
    EXPECT_EQ(GetIniString(kSection, u"File", ini, u"(none)"), u"new.txt");
    EXPECT_EQ(GetIniInt(kSection, u"Ret", 7, ini), c.ret);
    EXPECT_EQ(GetIniInt(kSection, u"X", 7, ini), c.x);
    const std::size_t at = after.find("File=new.txt\r\n");
    ASSERT_NE(at, std::string::npos);
    if (c.file == u"(none)") {
        // The key was added: everything before it is the old file, plus at most a line end
        // and the section header.
        EXPECT_TRUE(after.starts_with(c.content));
    } else {
        // The key was replaced: the bytes around its line are the old ones.
        const std::size_t oldEnd = c.content.find("\r\n", at);
        EXPECT_TRUE(c.content.compare(0, at, after, 0, at) == 0);
        EXPECT_TRUE(c.content.substr(oldEnd) == after.substr(at + 12));
    }
    EXPECT_EQ(Snapshot(program.path()).size(), 1u) << "a file beside setting.ini was left";
}

// setting.ini where it cannot be written: reads give defaults, writes fail with the reason the
// window's message names, nothing changes.
struct IniPlaceCase : test::NamedCase {
    fs::path (*place)(const fs::path& folder);  // makes the obstacle, gives setting.ini's path
    std::errc reason;
};

const IniPlaceCase kIniPlaceCases[] = {
    {"setting-ini-is-a-folder",
     [](const fs::path& folder) {
         fs::create_directory(folder / "setting.ini");
         return folder / "setting.ini";
     },
     std::errc::is_a_directory},
    {"setting-ini-is-a-fifo",
     [](const fs::path& folder) {
         ::mkfifo((folder / "setting.ini").c_str(), 0644);
         return folder / "setting.ini";
     },
     std::errc::invalid_argument},
    // A folder that cannot be written even by root: its parent is a file.
    {"folder-is-a-file",
     [](const fs::path& folder) {
         WriteBytes(folder / "program", "not a folder");
         return folder / "program" / "setting.ini";
     },
     std::errc::not_a_directory},
};

ZELKORA_TEST_CASES(Places, IniPlaceTest, ReadsDefaultsAndWritesNothing, kIniPlaceCases) {
    const test::TempFolder program("zelkora-bad");
    const fs::path ini = GetParam().place(program.path());
    const auto before = Snapshot(program.path());
    const auto result = RunInChild(
        [&] {
            const bool defaults = GetIniString(kSection, u"File", ini, u"(none)") == u"(none)" &&
                                  GetIniInt(kSection, u"Ret", 7, ini) == 7;
            const Result<> written = WriteIniString(kSection, u"File", u"a.txt", ini);
            const bool reasonGiven = written.error() == std::make_error_code(GetParam().reason);
            return (defaults ? 0 : 1) | (written ? 2 : 0) | (reasonGiven ? 0 : 4);
        },
        10s);
    ASSERT_TRUE(result.has_value()) << "INI access hung";
    EXPECT_EQ(*result, 0) << "1: a read did not give its default, 2: the write claimed success, "
                             "4: another reason was given";
    EXPECT_EQ(Snapshot(program.path()), before);
}

}  // namespace
}  // namespace zelkora
