#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

#include "core/common/FileBytes.h"

namespace zelkora::cli {

// The table a command converts with, and the kinds of file it may be read from.
struct TableChoice {
    std::filesystem::path path;
    // A table named with -t may come through a pipe: <(grep -v '^//' big.txt), /dev/stdin. The
    // one the window uses is a file of the tables folder.
    FileKinds kinds = FileKinds::Regular;
};

// The table file -t names: the file as given; or, when no file of that name exists from the
// current folder and the name holds no "/", the table of that name in the tables folder, so
// that `-t "CP932 Windows-31J.txt"` works from anywhere. Without -t, the table the window uses
// (DefaultTablePath). Nothing, after a message, when there is none.
[[nodiscard]] std::optional<TableChoice> ChosenTable(std::optional<std::string_view> given);

// Whether the table would be read from the same stream as the input (-t /dev/stdin with no
// FILE): the one would take what the other needs.
[[nodiscard]] bool TableIsTheInput(const TableChoice& table,
                                   std::span<const std::string_view> inputs);

}  // namespace zelkora::cli
