#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/Commands.h"

namespace zelkora::cli {

// Prints "zelkora-cli: message" on stderr; returns kExitFailure.
int Fail(std::string_view message);

// A path for messages: 'settings/a.txt'.
[[nodiscard]] std::string Quoted(const std::filesystem::path& path);

// Prints the message and the command's usage line on stderr; returns kExitUsage.
int UsageError(std::string_view usage, std::string_view message);

// Whether a conversion reads standard input for these file names ("-", or none named).
[[nodiscard]] bool ReadsStandardInput(std::span<const std::string_view> fileNames);

// Whether a conversion reads only regular files for these file names, standard input included:
// nothing it reads then waits for a person typing or a program writing.
[[nodiscard]] bool ReadsOnlyRegularFiles(std::span<const std::string_view> fileNames);

// Writes the bytes to standard output in one go; false (after a message) when that fails.
[[nodiscard]] bool WriteStandardOutput(std::string_view bytes);

// Converted text on standard output, in UTF-8, collected into writes of about 64 KiB: results of
// one line each go out in few writes, and a result of megabytes is never held a second time in
// UTF-8. Each call is false (after a message) when writing fails; Flush before the end.
class TextOutput {
public:
    // lineBreak: what each CR LF of a result is written as (at most two characters); nothing
    // while that is not known yet: from the first result with a CR LF on, output is then held
    // until SetLineBreak.
    explicit TextOutput(std::optional<std::string> lineBreak) : lineBreak_(std::move(lineBreak)) {}
    TextOutput(const TextOutput&) = delete;
    TextOutput& operator=(const TextOutput&) = delete;

    [[nodiscard]] bool Result(std::u16string_view text);
    // Written as given: a line end of the input. Only once the line break is known.
    [[nodiscard]] bool Exactly(std::u16string_view text);
    [[nodiscard]] bool Flush();

    [[nodiscard]] bool KnowsLineBreak() const { return lineBreak_.has_value(); }
    void SetLineBreak(std::string lineBreak);

private:
    [[nodiscard]] bool Append(std::u16string_view text, bool lineBreaks);
    [[nodiscard]] bool WritePending();

    std::optional<std::string> lineBreak_;
    bool holding_ = false;  // a result with a line break waits for the line break to be known
    bool heldCr_ = false;   // ended the last result: with an LF at the start of the next, CR LF
    std::string pending_;
};

struct OptionSpec {
    std::string_view name;            // "--table"
    bool takesValue;                  // "--table FILE" or "--table=FILE"
    std::string_view shortName = {};  // "-t", the same option; empty for none
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

// Whether "--help" or "-h" comes among the arguments before "--": the command's usage is asked.
[[nodiscard]] bool AsksForHelp(std::span<const std::string_view> args);

}  // namespace zelkora::cli
