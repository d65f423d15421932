#pragma once

#include <span>
#include <string>
#include <string_view>

namespace zelkora::cli {

// The command line as typed, recorded in the header of a table a command writes so that it can
// be made again: "zelkora-cli COMMAND ARGS", arguments with spaces in double quotes.
[[nodiscard]] std::u16string CommandLine(std::string_view command,
                                         std::span<const std::string_view> args);

}  // namespace zelkora::cli
