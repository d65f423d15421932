#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Commands.h"

namespace zelkora::cli {

// Prints "zelkora-cli: message" on stderr; returns kExitFailure.
int Fail(std::string_view message);

// A path for messages: 'settings/a.txt'.
[[nodiscard]] std::string Quoted(const std::filesystem::path& path);

// Prints the message and the command's usage line on stderr; returns kExitUsage.
int UsageError(std::string_view usage, std::string_view message);

// The whole of standard input, bytes unchanged; nothing (after a message) when it cannot be read.
[[nodiscard]] std::optional<std::string> ReadStandardInput();

// Writes the bytes to standard output in one go; false (after a message) when that fails.
[[nodiscard]] bool WriteStandardOutput(std::string_view bytes);

// Writes the text to standard output as UTF-8, a slice at a time, so that a result of megabytes
// is never held a second time in UTF-8; false (after a message) when that fails.
[[nodiscard]] bool WriteStandardOutputText(std::u16string_view text);

struct OptionSpec {
    std::string_view name;  // "--table"
    bool takesValue;        // "--table FILE" or "--table=FILE"
};

struct ParsedArgs {
    std::vector<std::pair<std::string_view, std::string_view>> options;  // in order given
    std::vector<std::string_view> operands;

    [[nodiscard]] bool Has(std::string_view option) const;
    // The value given last, so a later option overrides an earlier one.
    [[nodiscard]] std::optional<std::string_view> Value(std::string_view option) const;
};

// Options may come anywhere; "--" ends them. Nothing (after a usage message) on an unknown
// option, a missing value or a wrong number of operands.
[[nodiscard]] std::optional<ParsedArgs> ParseArgs(const Invocation& invocation,
                                                  std::span<const OptionSpec> options,
                                                  std::size_t minOperands, std::size_t maxOperands);

}  // namespace zelkora::cli
