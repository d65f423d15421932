#include "core/common/ProgramPaths.h"

#include <unistd.h>

#include <cstdlib>

namespace zelkora {
namespace {

namespace fs = std::filesystem;

// The name of the program's folders under share/, ~/.config and ~/.local/share.
constexpr char kFolderName[] = "zelkora";
constexpr char kTablesFolderName[] = "settings";
constexpr char kReadMeName[] = "ReadMe.txt";

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The variable's folder if it is an absolute path, else the folder under HOME; empty when
// neither is absolute.
fs::path UserFolder(const std::string& variable, const std::string& home, const char* underHome) {
    if (fs::path(variable).is_absolute()) {
        return variable;
    }
    if (fs::path(home).is_absolute()) {
        return fs::path(home) / underHome;
    }
    return {};
}

fs::path Under(const fs::path& folder, const fs::path& name) {
    return folder.empty() ? fs::path() : folder / name;
}

// See MakeUserFolders.
Result<> SeedTables(const fs::path& shipped, const fs::path& tables) {
    std::error_code error;
    if (fs::exists(tables, error) || error) {
        return error;
    }
    const fs::path staging = tables.parent_path() /
                             ("." + tables.filename().string() + "-" + std::to_string(::getpid()));
    fs::create_directories(staging, error);
    for (fs::directory_iterator entry(shipped, error), end; !error && entry != end;
         entry.increment(error)) {
        if (entry->is_regular_file(error)) {
            fs::copy_file(entry->path(), staging / entry->path().filename(), error);
        }
    }
    if (!error) {
        fs::rename(staging, tables, error);
    }
    if (error) {
        std::error_code ignored;
        fs::remove_all(staging, ignored);
        // Another program starting at the same moment may have put its copy in place first.
        if (fs::is_directory(tables, ignored)) {
            error.clear();
        }
    }
    return error;
}

}  // namespace

UserEnvironment ReadUserEnvironment() {
    return {Variable("XDG_CONFIG_HOME"), Variable("XDG_DATA_HOME"), Variable("HOME")};
}

ProgramPaths PortablePaths(const fs::path& programFolder) {
    return {.layout = ProgramLayout::Portable,
            .programFolder = programFolder,
            .iniFolder = programFolder,
            .tablesFolder = programFolder / kTablesFolderName,
            .readMe = programFolder / kReadMeName,
            .shippedTables = {}};
}

ProgramPaths LocateProgramPaths(const fs::path& executable, const UserEnvironment& environment,
                                const PathExists& exists) {
    const fs::path programFolder = executable.parent_path();
    const fs::path share = programFolder.parent_path() / "share";
    const fs::path shipped = share / kFolderName / kTablesFolderName;
    if (exists(programFolder / kTablesFolderName) || !exists(shipped)) {
        return PortablePaths(programFolder);
    }
    const fs::path config = UserFolder(environment.xdgConfigHome, environment.home, ".config");
    const fs::path data = UserFolder(environment.xdgDataHome, environment.home, ".local/share");
    // Debian keeps documentation in share/doc/<package>; a system that leaves share/doc out
    // may keep the file with the program's data instead.
    const fs::path readMe = share / "doc" / kFolderName / kReadMeName;
    const fs::path readMeBesideData = share / kFolderName / kReadMeName;
    return {.layout = ProgramLayout::Installed,
            .programFolder = programFolder,
            .iniFolder = Under(config, kFolderName),
            .tablesFolder = Under(data, fs::path(kFolderName) / kTablesFolderName),
            .readMe = !exists(readMe) && exists(readMeBesideData) ? readMeBesideData : readMe,
            .shippedTables = shipped};
}

Result<ProgramPaths> ThisProgramPaths() {
    std::error_code why;
    const fs::path executable = fs::read_symlink("/proc/self/exe", why);
    if (why) {
        return why;
    }
    return LocateProgramPaths(executable, ReadUserEnvironment(), [](const fs::path& path) {
        std::error_code ignored;
        return fs::exists(path, ignored);
    });
}

Result<> MakeUserFolders(const ProgramPaths& paths) {
    if (paths.layout != ProgramLayout::Installed) {
        return {};
    }
    std::error_code error;
    if (!paths.iniFolder.empty()) {
        fs::create_directories(paths.iniFolder, error);
    }
    if (error || paths.tablesFolder.empty()) {
        return error;
    }
    return SeedTables(paths.shippedTables, paths.tablesFolder);
}

}  // namespace zelkora
