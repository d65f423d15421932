#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "cli/CliIo.h"

namespace zelkora::cli {

// A count or an offset as written on the command line: decimal ("4096") or hexadecimal with a
// 0x prefix ("0x1000"); nothing for anything else, a sign included.
[[nodiscard]] std::optional<std::uint64_t> ParseCount(std::string_view text);

// The value of a count option, `fallback` when it is not given; nothing, after a usage message,
// when it is not a count or lies above `most`.
[[nodiscard]] std::optional<std::uint64_t> CountOption(const Invocation& invocation,
                                                       const ParsedArgs& args,
                                                       std::string_view option,
                                                       std::uint64_t fallback,
                                                       std::uint64_t most = UINT64_MAX);

}  // namespace zelkora::cli
