// Saving settings from several processes: two programs closing at once, two programs writing
// different keys at once, a program killed at random moments while it saves, and a setting.ini
// its owner made read-only. setting.ini is always a whole file that one of the writes left, no
// key written is lost to another process's write, and no other file is left beside it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/common/mod_ini.h"
#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

namespace fs = std::filesystem;
constexpr std::u16string_view kSection = u"Zelkora";

using test::ReadBytes;

std::u16string Text(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

class SettingsSaveTest : public ::testing::Test {
protected:
    // The names in the program folder other than setting.ini.
    std::vector<std::string> Strays() const {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir_)) {
            if (entry.path().filename() != "setting.ini") {
                names.push_back(entry.path().filename().string());
            }
        }
        return names;
    }

    // Starts one child per body, lets them all go at the same moment and waits for them.
    static void RunTogether(const std::vector<std::function<void()>>& bodies) {
        int go[2];
        ASSERT_EQ(::pipe(go), 0);
        std::vector<pid_t> children;
        for (const auto& body : bodies) {
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                ::close(go[1]);
                char start = 0;
                const bool ready = ::read(go[0], &start, 1) == 1;
                body();
                ::_exit(ready ? 0 : 1);
            }
            children.push_back(child);
        }
        ::close(go[0]);
        const std::string starts(children.size(), 'g');  // one byte for each, all at once
        ASSERT_EQ(::write(go[1], starts.data(), starts.size()),
                  static_cast<ssize_t>(starts.size()));
        ::close(go[1]);
        for (const pid_t child : children) {
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
    }

    const test::TempFolder folder_{"zelkora-save"};
    const fs::path& dir_ = folder_.path();
    const fs::path ini_ = dir_ / "setting.ini";
};

// What a window writes when it closes, in one write.
struct Closing {
    std::u16string file, ret, winState, x, y, h, w;

    std::vector<IniEntry> Entries() const {
        return {{u"File", file}, {u"Ret", ret}, {u"WinState", winState}, {u"X", x}, {u"Y", y},
                {u"H", h},       {u"W", w}};
    }
    bool operator==(const Closing&) const = default;
};

Closing ReadClosing(const fs::path& ini) {
    const auto get = [&](std::u16string_view key) {
        return GetIniString(kSection, key, ini, u"(none)");
    };
    return {get(u"File"), get(u"Ret"), get(u"WinState"), get(u"X"),
            get(u"Y"),    get(u"H"),   get(u"W")};
}

TEST_F(SettingsSaveTest, TwoInstancesClosingAtOnceLeaveOneInstancesValues) {
    const Closing first{u"a.txt", u"-1", u"0", u"1440", u"2880", u"4000", u"6000"};
    const Closing second{u"b.txt", u"0", u"0", u"-300", u"15", u"3000", u"5000"};
    const Closing old{u"old.txt", u"5", u"2", u"1", u"2", u"3", u"4"};
    ASSERT_TRUE(WriteIniStrings(kSection, old.Entries(), ini_));
    for (int round = 0; round < 20; ++round) {
        const auto close = [&](const Closing& values) {
            return [&] { static_cast<void>(WriteIniStrings(kSection, values.Entries(), ini_)); };
        };
        RunTogether({close(first), close(second)});
        const Closing left = ReadClosing(ini_);
        ASSERT_TRUE(left == first || left == second) << "round " << round << ":\n"
                                                     << ReadBytes(ini_);
        ASSERT_EQ(Strays(), std::vector<std::string>{});
    }
}

// One program picks tables while another saves its option: every key keeps its last value.
TEST_F(SettingsSaveTest, KeysOfTwoProgramsWritingAtOnceAreNotLost) {
    constexpr int kWrites = 60;
    RunTogether({[&] {
                     for (int i = 1; i <= kWrites; ++i) {
                         const std::string name = "table" + std::to_string(i) + ".txt";
                         static_cast<void>(WriteIniString(kSection, u"File", Text(name), ini_));
                     }
                 },
                 [&] {
                     for (int i = 1; i <= kWrites; ++i) {
                         static_cast<void>(
                             WriteIniString(kSection, u"Ret", Text(std::to_string(i)), ini_));
                     }
                 }});
    EXPECT_EQ(GetIniString(kSection, u"File", ini_, u"(none)"),
              Text("table" + std::to_string(kWrites) + ".txt"));
    EXPECT_EQ(GetIniInt(kSection, u"Ret", 0, ini_), kWrites);
    EXPECT_EQ(Strays(), std::vector<std::string>{});
}

// A value long enough that a write cut short would show, and that names its generation.
std::u16string Generation(long generation) {
    const std::string number = std::to_string(generation);
    return Text(number + "-" + std::string(6000, 'x') + "-" + number + ".txt");
}

std::string GenerationFile(long file, long ret) {
    const std::u16string value = Generation(file);
    return "[Zelkora]\r\nFile=" + std::string(value.begin(), value.end()) +
           "\r\nRet=" + std::to_string(ret) + "\r\n";
}

// A process saving settings in a loop is killed at random moments. Each time setting.ini is a
// whole file as one of its writes left it, never older than before; whatever the killed
// process left beside it is gone after the next save.
TEST_F(SettingsSaveTest, KilledWhileSavingLeavesOldOrNewFile) {
    std::mt19937 random(2024);
    long last = 0;
    std::ofstream(ini_, std::ios::binary) << GenerationFile(0, 0);
    int leftovers = 0;
    for (int round = 0; round < 40; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (long generation = last + 1;; ++generation) {
                static_cast<void>(WriteIniString(kSection, u"File", Generation(generation), ini_));
                static_cast<void>(
                    WriteIniString(kSection, u"Ret", Text(std::to_string(generation)), ini_));
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200 + random() % 20000));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        const std::string content = ReadBytes(ini_);
        const std::string_view start = "[Zelkora]\r\nFile=";
        ASSERT_TRUE(content.starts_with(start)) << "round " << round << ": " << content.size();
        const long file = std::atol(content.c_str() + start.size());
        ASSERT_GE(file, last) << "round " << round << ": an older setting.ini came back";
        const bool whole =
            content == GenerationFile(file, file) || content == GenerationFile(file, file - 1);
        ASSERT_TRUE(whole) << "round " << round << ": not a whole write (" << content.size()
                           << " bytes)";
        last = file;

        // The next save finishes the killed one's pair and clears what it left.
        leftovers += !Strays().empty();
        ASSERT_TRUE(WriteIniString(kSection, u"Ret", Text(std::to_string(file)), ini_));
        ASSERT_EQ(ReadBytes(ini_), GenerationFile(file, file));
        ASSERT_EQ(Strays(), std::vector<std::string>{}) << "round " << round;
    }
    RecordProperty("generations", static_cast<int>(last));
    RecordProperty("rounds_with_leftovers", leftovers);
}

// The profile functions leave a read-only file as it is; so does a program without root's
// privileges here, even in a folder it may write.
TEST_F(SettingsSaveTest, ReadOnlyFileKeepsItsValues) {
    const std::string content = "[Zelkora]\r\nFile=a.txt\r\n";
    std::ofstream(ini_, std::ios::binary) << content;
    fs::permissions(ini_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(dir_, fs::perms::all);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(3);
        }
        const bool read = GetIniString(kSection, u"File", ini_, u"") == u"a.txt";
        const bool written = WriteIniString(kSection, u"File", u"b.txt", ini_).has_value();
        ::_exit((read ? 0 : 1) | (written ? 2 : 0));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: not read, 2: the write claimed success, 3: root";
    EXPECT_EQ(ReadBytes(ini_), content);
    EXPECT_EQ(Strays(), std::vector<std::string>{});
}

}  // namespace
}  // namespace zelkora
