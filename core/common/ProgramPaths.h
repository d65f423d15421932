#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>

#include "core/common/IniNames.h"
#include "core/common/Result.h"

namespace zelkora {

// Where the program keeps its files, chosen by what lies beside the executable.
enum class ProgramLayout {
    // settings/ beside the executable (the build folder, or that folder copied anywhere):
    // setting.ini, the tables and ReadMe.txt all in the program's own folder.
    Portable,
    // share/zelkora/settings beside the executable's bin/ folder (the package, or cmake
    // --install): the program's folders are read-only for the user, so setting.ini and the
    // tables live in the user's own configuration and data folders.
    Installed,
};

struct ProgramPaths {
    ProgramLayout layout = ProgramLayout::Portable;
    std::filesystem::path programFolder;  // the executable's folder
    std::filesystem::path iniFolder;      // holds setting.ini
    std::filesystem::path tablesFolder;   // the tables the settings menu lists
    std::filesystem::path readMe;         // ReadMe.txt, which may be missing
    std::filesystem::path shippedTables;  // installed: the tables a user's folder starts with

    // Empty when there is no folder for it: "setting.ini" alone would be a file of whatever
    // folder the program was started from.
    [[nodiscard]] std::filesystem::path IniFile() const {
        return iniFolder.empty() ? std::filesystem::path() : iniFolder / kIniFileName;
    }
};

// The environment variables that place a user's files, empty when unset.
struct UserEnvironment {
    std::string xdgConfigHome;
    std::string xdgDataHome;
    std::string home;
};

[[nodiscard]] UserEnvironment ReadUserEnvironment();

// Whether a file or folder exists: the file system's answer in the programs.
using PathExists = std::function<bool(const std::filesystem::path&)>;

// settings/, setting.ini and ReadMe.txt in programFolder.
[[nodiscard]] ProgramPaths PortablePaths(const std::filesystem::path& programFolder);

// The folders of the program at `executable` (its real path: the installed layout is found
// from where the file really lies, so an extracted package works under any prefix).
// - settings/ beside it: the portable layout.
// - else ../share/zelkora/settings: the installed layout. setting.ini goes to
//   $XDG_CONFIG_HOME/zelkora (default ~/.config/zelkora), the tables to
//   $XDG_DATA_HOME/zelkora/settings (default ~/.local/share/zelkora/settings), and ReadMe.txt
//   is ../share/doc/zelkora/ReadMe.txt, or ../share/zelkora/ReadMe.txt when only that exists.
//   A variable that is not an absolute path is ignored, as the XDG base directory rules ask;
//   with no absolute HOME either, the user's folders are left empty.
// - neither: the portable layout, whose missing settings/ the programs then report.
[[nodiscard]] ProgramPaths LocateProgramPaths(const std::filesystem::path& executable,
                                              const UserEnvironment& environment,
                                              const PathExists& exists);

// The running program's folders, from /proc/self/exe, the environment and the file system;
// nothing when the executable cannot be found.
[[nodiscard]] Result<ProgramPaths> ThisProgramPaths();

// Gives the user folders of their own in the installed layout, as either program starts: the
// settings folder, made when missing so that setting.ini can be written, and the tables
// folder. That one is made only on the first start, with a copy of every shipped table; a
// folder that exists is left as it is, so a table the user removed stays removed. The copies
// are gathered beside it and renamed into place, so the folder appears whole or not at all,
// whichever program starts first. Why not, when a folder cannot be made; nothing to do is done.
[[nodiscard]] Result<> MakeUserFolders(const ProgramPaths& paths);

}  // namespace zelkora
