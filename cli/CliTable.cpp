#include "cli/CliTable.h"

#include <sys/stat.h>
#include <unistd.h>

#include <system_error>

#include "cli/CliIo.h"
#include "core/common/FileNames.h"
#include "core/common/IniNames.h"
#include "core/common/mod_ini.h"
#include "core/tables/Catalogue.h"
#include "core/tables/TableReader.h"

namespace zelkora::cli {
namespace {

namespace fs = std::filesystem;

// Installed, setting.ini and the tables live in the user's folders, which HOME or the XDG
// variables place: what is missing, or nothing.
std::string MissingUserFolders(const ProgramPaths& paths) {
    const bool ini = paths.iniFolder.empty();
    const bool tables = paths.tablesFolder.empty();
    if (paths.layout != ProgramLayout::Installed || (!ini && !tables)) {
        return {};
    }
    const std::string what = ini && tables ? "setting.ini or the tables"
                             : ini         ? "setting.ini"
                                           : "the tables";
    const std::string variables = ini && tables ? "HOME, XDG_CONFIG_HOME nor XDG_DATA_HOME"
                                  : ini         ? "HOME nor XDG_CONFIG_HOME"
                                                : "HOME nor XDG_DATA_HOME";
    return "no folder for " + what + ": neither " + variables + " is set to an absolute path";
}

}  // namespace

std::optional<ProgramPaths> ProgramFolders() {
    Result<ProgramPaths> paths = ThisProgramPaths();
    if (!paths) {
        Fail("cannot find the program's folder: " + paths.error().message());
        return std::nullopt;
    }
    if (const std::string missing = MissingUserFolders(*paths); !missing.empty()) {
        Fail(missing);
        return std::nullopt;
    }
    // A folder that cannot be made is reported here, and once more where it is looked for.
    if (const Result<> made = MakeUserFolders(*paths); !made) {
        Fail("cannot make the folders " + Quoted(paths->iniFolder) + " and " +
             Quoted(paths->tablesFolder) + ": " + made.error().message());
    }
    return std::move(*paths);
}

int PrintPaths() {
    const std::optional<ProgramPaths> paths = ProgramFolders();
    if (!paths) {
        return kExitFailure;
    }
    const char* layout = paths->layout == ProgramLayout::Installed ? "installed" : "portable";
    const std::string text = std::string("layout\t") + layout + "\nprogram\t" +
                             paths->programFolder.string() + "\nsettings\t" +
                             paths->iniFolder.string() + "\ntables\t" +
                             paths->tablesFolder.string() + "\n";
    return WriteStandardOutput(text) ? kExitOk : kExitFailure;
}

std::optional<fs::path> DefaultTablePath() {
    const std::optional<ProgramPaths> paths = ProgramFolders();
    if (!paths) {
        return std::nullopt;
    }
    const fs::path& settings = paths->tablesFolder;
    const auto names = ListTableFiles(settings);
    if (!names) {
        Fail("cannot list the table folder " + Quoted(settings) + ": " + names.error().message());
        return std::nullopt;
    }
    const fs::path ini = paths->IniFile();
    const std::u16string named = GetIniString(kIniSection, kIniKeyFile, ini, u"");
    const auto chosen = ChooseTable(*names, named);
    // The window falls back to the first table; a script would convert through the wrong table
    // without a sign, so here a name that is not listed is an error.
    if (!named.empty() && (!chosen || FileNameToText(*chosen) != named)) {
        Fail(Quoted(ini) + " names the table " + Quoted(TextToFileName(named)) + ", which " +
             Quoted(settings) + " does not hold (name a table with --table FILE)");
        return std::nullopt;
    }
    if (!chosen) {
        Fail("no table file in " + Quoted(settings) + " (name one with --table FILE)");
        return std::nullopt;
    }
    return settings / *chosen;
}

bool IsStandardInput(const fs::path& path) {
    struct stat file {};
    struct stat input {};
    // A regular file is opened anew by its path, so standard input redirected from it loses
    // nothing: only a stream is shared.
    return ::stat(path.c_str(), &file) == 0 && ::fstat(STDIN_FILENO, &input) == 0 &&
           file.st_dev == input.st_dev && file.st_ino == input.st_ino && !S_ISREG(file.st_mode);
}

bool LoadTable(const fs::path& path, CodeTable& table, FileKinds kinds) {
    const Result<> read = ReadTableFile(path, table, kinds);
    if (!read) {
        Fail(read == ReadStatus::CannotOpen
                 ? "cannot read table file " + Quoted(path) + ": " + read.error().message()
                 : "table file " + Quoted(path) + " " + read.error().message());
    }
    return read.has_value();
}

}  // namespace zelkora::cli
