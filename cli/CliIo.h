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

// The input of a conversion: the named files one after another, as cat reads them, "-" standing
// for standard input; standard input alone when no file is named.
struct Input {
    std::string bytes;
    struct File {
        std::string name;         // for messages: "standard input" or 'name'
        std::size_t start = 0;    // where its bytes begin in `bytes`
        std::size_t dropped = 0;  // bytes of a byte-order mark left out before that
    };
    std::vector<File> files;

    // For a message about byte `offset`: the file that holds it, and the offset in that file.
    [[nodiscard]] std::pair<std::string_view, std::size_t> Locate(std::size_t offset) const;
};

// Nothing (after a message naming the file and the reason) when a file cannot be read. Bytes
// unchanged, but for a UTF-8 byte-order mark at the start of each file when dropByteOrderMarks:
// every file saved by an editor that writes one begins with it.
[[nodiscard]] std::optional<Input> ReadInput(std::span<const std::string_view> fileNames,
                                             bool dropByteOrderMarks);

// Whether ReadInput reads standard input for these file names.
[[nodiscard]] bool ReadsStandardInput(std::span<const std::string_view> fileNames);

// Whether ReadInput reads only regular files for these file names, standard input included:
// nothing it reads then waits for a person typing or a program writing.
[[nodiscard]] bool ReadsOnlyRegularFiles(std::span<const std::string_view> fileNames);

// Writes the bytes to standard output in one go; false (after a message) when that fails.
[[nodiscard]] bool WriteStandardOutput(std::string_view bytes);

// Converted text on standard output, in UTF-8, collected into writes of about 64 KiB: results of
// one line each go out in few writes, and a result of megabytes is never held a second time in
// UTF-8. Each call is false (after a message) when writing fails; Flush before the end.
class TextOutput {
public:
    // lineBreak: what each CR LF of a result is written as (at most two characters).
    explicit TextOutput(std::string lineBreak) : lineBreak_(std::move(lineBreak)) {}
    TextOutput(const TextOutput&) = delete;
    TextOutput& operator=(const TextOutput&) = delete;

    [[nodiscard]] bool Result(std::u16string_view text);
    // Written as given: a line end of the input.
    [[nodiscard]] bool Exactly(std::u16string_view text);
    [[nodiscard]] bool Flush();

private:
    [[nodiscard]] bool Append(std::u16string_view text, bool lineBreaks);

    std::string lineBreak_;
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
