#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>

#include "cli/BinaryConvert.h"
#include "cli/CliIo.h"
#include "cli/CliTable.h"
#include "cli/Commands.h"
#include "cli/ConvertModes.h"
#include "cli/TableOption.h"

namespace zelkora::cli {
namespace {

constexpr OptionSpec kOptions[] = {
    {"--table", true, "-t"}, {"--line-break", false}, {"--lines", false},
    {"--whole", false},      {"--raw", false},        {"--report", false},
    {"--binary", false},     {"--offset", true},      {"--length", true}};

// What --report prints on standard error, for each direction that ran.
void PrintReport(const Conversion& c, Direction direction) {
    std::string report;
    const bool text = c.convertedText || (!c.convertedCodes && direction != Direction::ToText);
    const bool codes = c.convertedCodes || (!c.convertedText && direction == Direction::ToText);
    if (text) {
        const std::string found = c.unmatchedCharacters.Text();
        report += "zelkora-cli: " + (found.empty() ? "0 characters had no code\n" : found);
    }
    if (codes) {
        const std::string found = c.unmatchedCodes.Text();
        report += "zelkora-cli: " + (found.empty() ? "0 codes had no entry\n" : found);
    }
    std::fputs(report.c_str(), stderr);
}

int Convert(const Invocation& invocation, Direction direction) {
    const auto args = ParseArgs(invocation, kOptions, 0, SIZE_MAX);
    if (!args) {
        return kExitUsage;
    }
    const bool raw = args->Has("--raw");
    const bool whole = args->Has("--whole");
    constexpr std::string_view kModes[] = {"--lines", "--whole", "--raw"};
    if (std::ranges::count_if(kModes, [&](std::string_view mode) { return args->Has(mode); }) > 1) {
        return UsageError(invocation.usage, "--lines, --whole and --raw cannot be used together");
    }
    std::optional<ByteRange> binary;
    if (args->Has("--binary") || args->Has("--offset") || args->Has("--length")) {
        if (direction == Direction::Auto) {
            return UsageError(invocation.usage, "--binary needs a direction: to-codes or to-text");
        }
        binary = BinaryRequest(invocation, *args, direction == Direction::ToText);
        if (!binary) {
            return kExitUsage;
        }
    }
    const auto chosen = ChosenTable(args->Value("--table"));
    if (!chosen) {
        return kExitFailure;
    }
    if (TableIsTheInput(*chosen, args->operands)) {
        return UsageError(invocation.usage,
                          "the table and the input cannot both come from standard input: name "
                          "the input FILE");
    }
    // The input is bytes, read once the table is: there is no text to decode meanwhile.
    if (binary && direction == Direction::ToText) {
        CodeTable table;
        return LoadTable(chosen->path, table, chosen->kinds)
                   ? WriteBytesAsText(table, *args, *binary)
                   : kExitFailure;
    }
    // Reading, decoding and parsing the table take about as long as reading and decoding the
    // first block of the input, so when the input is files the table is read on a thread of its
    // own meanwhile, which is joined before either is reported. Input from a terminal or a pipe
    // may take as long as the person or the program writing it, so then the table is read first:
    // a table that cannot be read ends the command before anything is waited for.
    CodeTable table;
    bool tableRead = false;
    TextInput input(args->operands, !raw);
    if (!input.CanReadAll()) {
        return kExitFailure;
    }
    if (ReadsOnlyRegularFiles(args->operands)) {
        std::jthread tableReader(
            [&] { tableRead = LoadTable(chosen->path, table, chosen->kinds); });
        input.ReadAhead();
    } else {
        tableRead = LoadTable(chosen->path, table, chosen->kinds);
    }
    if (!tableRead || input.Failed()) {
        return kExitFailure;
    }
    if (binary) {
        return WriteTextAsBytes(table, input, args->Has("--line-break"), raw);
    }
    // Line breaks in a result come out in the input's style, found as the input is read; --raw
    // leaves them as converted.
    TextOutput out(raw ? std::optional<std::string>("\r\n") : std::nullopt);
    Conversion c{table, args->Has("--line-break"), args->Has("--report"), out};
    const bool written =
        whole || raw ? ConvertWhole(c, direction, input, whole) : ConvertLines(c, direction, input);
    if (!written || !out.Flush()) {
        return kExitFailure;
    }
    // The conversion succeeded whatever the report says, as it does in the window.
    if (c.report) {
        PrintReport(c, direction);
    }
    return kExitOk;
}

}  // namespace

int RunToCodes(const Invocation& invocation) {
    return Convert(invocation, Direction::ToCodes);
}
int RunToText(const Invocation& invocation) {
    return Convert(invocation, Direction::ToText);
}
int RunAuto(const Invocation& invocation) {
    return Convert(invocation, Direction::Auto);
}

}  // namespace zelkora::cli
