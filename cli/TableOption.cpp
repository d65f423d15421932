#include "cli/TableOption.h"

#include <string>
#include <system_error>

#include "cli/CliIo.h"
#include "cli/CliTable.h"

namespace zelkora::cli {

namespace fs = std::filesystem;

namespace {

std::optional<fs::path> ChosenTablePath(std::optional<std::string_view> given) {
    if (!given) {
        return DefaultTablePath();
    }
    const fs::path path = std::string(*given);
    std::error_code error;
    if (given->empty() || given->find('/') != std::string_view::npos ||
        fs::exists(fs::symlink_status(path, error))) {
        return path;
    }
    const std::optional<ProgramPaths> paths = ProgramFolders();
    if (!paths || paths->tablesFolder.empty()) {
        return path;  // reading it says why it cannot be read
    }
    const fs::path named = paths->tablesFolder / path;
    if (!fs::exists(fs::symlink_status(named, error))) {
        Fail("no table file " + Quoted(path) + " here, nor in the tables folder " +
             Quoted(paths->tablesFolder));
        return std::nullopt;
    }
    return named;
}

}  // namespace

std::optional<TableChoice> ChosenTable(std::optional<std::string_view> given) {
    auto path = ChosenTablePath(given);
    if (!path) {
        return std::nullopt;
    }
    return TableChoice{*std::move(path), given ? FileKinds::Streams : FileKinds::Regular};
}

bool TableIsTheInput(const TableChoice& table, std::span<const std::string_view> inputs) {
    return table.kinds == FileKinds::Streams && ReadsStandardInput(inputs) &&
           IsStandardInput(table.path);
}

}  // namespace zelkora::cli
