#include "core/common/ProgramPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

namespace fs = std::filesystem;

struct LocateCase : test::NamedCase {
    fs::path executable;
    UserEnvironment environment;
    std::vector<fs::path> existing;  // every other path is missing
    ProgramLayout layout;
    fs::path iniFolder;
    fs::path tablesFolder;
    fs::path readMe;
};

const UserEnvironment kHomeOnly{"", "", "/home/u"};
constexpr auto kPortable = ProgramLayout::Portable;
constexpr auto kInstalled = ProgramLayout::Installed;

const LocateCase kLocateCases[] = {
    {"portable",
     "/opt/z/zelkora",
     kHomeOnly,
     {"/opt/z/settings"},
     kPortable,
     "/opt/z",
     "/opt/z/settings",
     "/opt/z/ReadMe.txt"},
    {"portable-before-installed",
     "/usr/bin/zelkora",
     kHomeOnly,
     {"/usr/bin/settings", "/usr/share/zelkora/settings"},
     kPortable,
     "/usr/bin",
     "/usr/bin/settings",
     "/usr/bin/ReadMe.txt"},
    {"installed-home-defaults",
     "/usr/bin/zelkora",
     kHomeOnly,
     {"/usr/share/zelkora/settings", "/usr/share/doc/zelkora/ReadMe.txt"},
     kInstalled,
     "/home/u/.config/zelkora",
     "/home/u/.local/share/zelkora/settings",
     "/usr/share/doc/zelkora/ReadMe.txt"},
    {"installed-xdg-variables",
     "/usr/bin/zelkora-cli",
     {"/cfg", "/data", "/home/u"},
     {"/usr/share/zelkora/settings"},
     kInstalled,
     "/cfg/zelkora",
     "/data/zelkora/settings",
     "/usr/share/doc/zelkora/ReadMe.txt"},
    {"installed-xdg-without-home",
     "/usr/bin/zelkora",
     {"/cfg", "/data", ""},
     {"/usr/share/zelkora/settings"},
     kInstalled,
     "/cfg/zelkora",
     "/data/zelkora/settings",
     "/usr/share/doc/zelkora/ReadMe.txt"},
    {"installed-relative-xdg-ignored",
     "/usr/bin/zelkora",
     {"cfg", "data", "/home/u"},
     {"/usr/share/zelkora/settings"},
     kInstalled,
     "/home/u/.config/zelkora",
     "/home/u/.local/share/zelkora/settings",
     "/usr/share/doc/zelkora/ReadMe.txt"},
    {"installed-without-home",
     "/usr/bin/zelkora",
     {"", "", "home"},
     {"/usr/share/zelkora/settings"},
     kInstalled,
     "",
     "",
     "/usr/share/doc/zelkora/ReadMe.txt"},
    {"installed-readme-with-the-data",
     "/usr/bin/zelkora",
     kHomeOnly,
     {"/usr/share/zelkora/settings", "/usr/share/zelkora/ReadMe.txt"},
     kInstalled,
     "/home/u/.config/zelkora",
     "/home/u/.local/share/zelkora/settings",
     "/usr/share/zelkora/ReadMe.txt"},
    {"installed-under-any-prefix",
     "/tmp/root/usr/bin/zelkora-cli",
     kHomeOnly,
     {"/tmp/root/usr/share/zelkora/settings"},
     kInstalled,
     "/home/u/.config/zelkora",
     "/home/u/.local/share/zelkora/settings",
     "/tmp/root/usr/share/doc/zelkora/ReadMe.txt"},
    {"neither-layout",
     "/opt/z/zelkora",
     kHomeOnly,
     {},
     kPortable,
     "/opt/z",
     "/opt/z/settings",
     "/opt/z/ReadMe.txt"},
};

ZELKORA_TEST_CASES(Cases, LocateTest, FindsTheFolders, kLocateCases) {
    const LocateCase& c = GetParam();
    const ProgramPaths paths = LocateProgramPaths(c.executable, c.environment, [&](const auto& p) {
        return std::find(c.existing.begin(), c.existing.end(), p) != c.existing.end();
    });
    EXPECT_EQ(paths.layout, c.layout);
    EXPECT_EQ(paths.programFolder, c.executable.parent_path());
    EXPECT_EQ(paths.iniFolder, c.iniFolder);
    EXPECT_EQ(paths.IniFile().empty(), c.iniFolder.empty());
    EXPECT_EQ(paths.tablesFolder, c.tablesFolder);
    EXPECT_EQ(paths.readMe, c.readMe);
}

// The first start copies the shipped tables; later starts leave the user's folder as it is.
TEST(MakeUserFolders, FirstStartCopiesLaterStartsKeep) {
    const test::TempFolder folder("zelkora-seed");
    ProgramPaths paths = PortablePaths(folder.path() / "usr/bin");
    paths.layout = ProgramLayout::Installed;
    paths.shippedTables = folder.path() / "usr/share/zelkora/settings";
    paths.iniFolder = folder.path() / "home/.config/zelkora";
    paths.tablesFolder = folder.path() / "home/.local/share/zelkora/settings";
    fs::create_directories(paths.shippedTables / "sub");
    ASSERT_TRUE(test::WriteBytes(paths.shippedTables / "a.txt", "41 A\r\n"));
    ASSERT_TRUE(test::WriteBytes(paths.shippedTables / "b.txt", "42 B\r\n"));

    ASSERT_TRUE(MakeUserFolders(paths));
    EXPECT_TRUE(fs::is_directory(paths.iniFolder));
    const std::string file = std::to_string(static_cast<int>(fs::file_type::regular)) + ":";
    EXPECT_EQ(test::Snapshot(paths.tablesFolder),
              (std::map<std::string, std::string>{{"a.txt", file + "41 A\r\n"},
                                                  {"b.txt", file + "42 B\r\n"}}));
    EXPECT_EQ(test::Snapshot(paths.tablesFolder.parent_path()).size(), 1U)
        << "nothing left beside the folder";

    fs::remove(paths.tablesFolder / "a.txt");
    ASSERT_TRUE(test::WriteBytes(paths.tablesFolder / "b.txt", "42 mine\r\n"));
    ASSERT_TRUE(MakeUserFolders(paths));
    EXPECT_EQ(test::Snapshot(paths.tablesFolder),
              (std::map<std::string, std::string>{{"b.txt", file + "42 mine\r\n"}}));
}

}  // namespace
}  // namespace zelkora
