#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace zelkora::cli {

// The table file -t names: the file as given; or, when no file of that name exists from the
// current folder and the name holds no "/", the table of that name in the tables folder, so
// that `-t "CP932 Windows-31J.txt"` works from anywhere. Without -t, the table the window uses
// (DefaultTablePath). Nothing, after a message, when there is none.
[[nodiscard]] std::optional<std::filesystem::path> ChosenTablePath(
    std::optional<std::string_view> given);

}  // namespace zelkora::cli
