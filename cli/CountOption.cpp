#include "cli/CountOption.h"

#include <charconv>
#include <string>

namespace zelkora::cli {

std::optional<std::uint64_t> ParseCount(std::string_view text) {
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    // from_chars takes no sign, no spaces and no prefix of its own.
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint64_t> CountOption(const Invocation& invocation, const ParsedArgs& args,
                                         std::string_view option, std::uint64_t fallback,
                                         std::uint64_t most) {
    const auto given = args.Value(option);
    if (!given) {
        return fallback;
    }
    const auto value = ParseCount(*given);
    if (!value || *value > most) {
        UsageError(invocation.usage,
                   "bad " + std::string(option) + " '" + std::string(*given) +
                       "': a number, decimal or hexadecimal with 0x" +
                       (most < UINT64_MAX ? ", at most " + std::to_string(most) : ""));
        return std::nullopt;
    }
    return value;
}

}  // namespace zelkora::cli
