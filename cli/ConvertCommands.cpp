#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "cli/BinaryConvert.h"
#include "cli/CliIo.h"
#include "cli/CliTable.h"
#include "cli/Commands.h"
#include "cli/ConversionReport.h"
#include "cli/LineEnds.h"
#include "cli/TableOption.h"
#include "core/encoding/Utf8.h"
#include "core/engine/CodeToText.h"
#include "core/engine/ConversionThreads.h"
#include "core/engine/Spacing.h"
#include "core/engine/TextToCode.h"

namespace zelkora::cli {
namespace {

enum class Direction { ToCodes, ToText, Auto };

constexpr OptionSpec kOptions[] = {
    {"--table", true, "-t"}, {"--line-break", false}, {"--lines", false},
    {"--whole", false},      {"--raw", false},        {"--report", false},
    {"--binary", false},     {"--offset", true},      {"--length", true}};

// What each part of the input (all of it, or one line) is converted with, and what --report
// gathers on the way.
struct Conversion {
    const CodeTable& table;
    bool lineBreak;  // --line-break
    bool report;     // --report
    TextOutput& out;
    // The text as converted, where unmatchedCharacters point; boxed holds it when the input's
    // line ends had to become CR LF.
    std::u16string_view converted = {};
    std::u16string boxed = {};
    std::vector<std::size_t> unmatchedCharacters = {};
    UnmatchedCodesReport unmatchedCodes{};
    bool convertedText = false;
    bool convertedCodes = false;
};

// Converts and writes a slice of the text at a time, so the codes of a long text, about three
// times as long as the text, are never held whole; a slice is long enough to be converted on two
// threads. A slice ends where the conversion may cut the text, between two groups, so the codes
// are those of the whole text; nor does it split a line end, so with boxLineBreaks each slice's
// line ends can become CR LF on their own. Unmatched offsets are counted from `base` plus the
// start of the text as converted.
bool WriteTextAsCodes(Conversion& c, std::u16string_view text, bool boxLineBreaks,
                      std::size_t base) {
    constexpr std::size_t kSlice = std::size_t{1} << 20;
    c.convertedText = true;
    std::vector<std::size_t> inSlice;
    std::u16string boxed;
    std::size_t offset = base;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = TextCut(text, std::min(start + kSlice, text.size()));
        std::u16string_view slice = text.substr(start, end - start);
        if (boxLineBreaks) {
            slice = AsBoxText(slice, boxed);
        }
        inSlice.clear();
        const std::u16string codes =
            fTextToCode(c.table, slice, c.lineBreak, c.report ? &inSlice : nullptr);
        for (const std::size_t at : inSlice) {
            c.unmatchedCharacters.push_back(offset + at);
        }
        if (!c.out.Result(codes)) {
            return false;
        }
        offset += slice.size();
        start = end;
    }
    return true;
}

// The codes-to-text button spaces an unspaced input into byte pairs before converting. Only a
// spaced copy is made: codes already spaced are converted where they are. A report names the
// elements as converted, after spacing; `where` says which line they are on.
bool WriteCodesAsText(Conversion& c, std::u16string_view codes, std::string_view where = {}) {
    c.convertedCodes = true;
    std::vector<std::size_t> unmatched;
    const auto convert = [&](std::u16string_view spaced) {
        const std::u16string text =
            fCodeToText(c.table, spaced, c.lineBreak, c.report ? &unmatched : nullptr);
        c.unmatchedCodes.Add(spaced, unmatched, where);
        return c.out.Result(text);
    };
    return NeedsSpacing(codes) ? convert(fSplitPairs(codes)) : convert(codes);
}

bool ReadsAsCodes(Direction direction, std::u16string_view text) {
    return direction == Direction::ToText || (direction == Direction::Auto && LooksLikeCodes(text));
}

// --raw: the window's conversion of exactly this text, written exactly.
bool ConvertRaw(Conversion& c, Direction direction, std::u16string_view text) {
    c.converted = text;
    return ReadsAsCodes(direction, text) ? WriteCodesAsText(c, text)
                                         : WriteTextAsCodes(c, text, false, 0);
}

// --whole: the text as the window's box would hold it. Text to codes makes each slice's line
// ends CR LF as it goes; the box text is made whole only where it must be: codes to text takes
// its input whole, and a report names places in the text as converted.
bool ConvertAsBox(Conversion& c, Direction direction, std::u16string_view text) {
    const Line input = SplitFinalLineEnd(text);
    const bool codes = ReadsAsCodes(direction, input.text);
    c.converted = codes || c.report ? AsBoxText(input.text, c.boxed) : input.text;
    const bool written =
        codes ? WriteCodesAsText(c, c.converted) : WriteTextAsCodes(c, c.converted, true, 0);
    return written && c.out.Exactly(input.end);
}

// The default (--lines): each line on its own, its result followed by its own line end, so that
// codes spread over lines read back and text keeps its lines through to-codes and to-text. A
// report names characters by their place in the whole input, and codes by their line.
bool ConvertLines(Conversion& c, Direction direction, std::u16string_view text) {
    c.converted = text;
    std::size_t number = 1;
    for (std::size_t from = 0; from < text.size(); ++number) {
        const Line line = LineAt(text, from);
        const bool written =
            ReadsAsCodes(direction, line.text)
                ? WriteCodesAsText(c, line.text,
                                   c.report ? "line " + std::to_string(number) + ", " : "")
                : WriteTextAsCodes(c, line.text, false, from);
        if (!written || !c.out.Exactly(line.end)) {
            return false;
        }
        from += line.text.size() + line.end.size();
    }
    return true;
}

// What --report prints on standard error, for each direction that ran.
void PrintReport(const Conversion& c, Direction direction) {
    std::string report;
    const bool text = c.convertedText || (!c.convertedCodes && direction != Direction::ToText);
    const bool codes = c.convertedCodes || (!c.convertedText && direction == Direction::ToText);
    if (text) {
        const std::string found = ReportUnmatchedCharacters(c.converted, c.unmatchedCharacters);
        report += "zelkora-cli: " + (found.empty() ? "0 characters had no code\n" : found);
    }
    if (codes) {
        const std::string found = c.unmatchedCodes.Text();
        report += "zelkora-cli: " + (found.empty() ? "0 codes had no entry\n" : found);
    }
    std::fputs(report.c_str(), stderr);
}

// The input in UTF-16; nothing (after a message) when it cannot be read or is not UTF-8.
std::optional<std::u16string> ReadText(std::span<const std::string_view> fileNames, bool raw) {
    const auto input = ReadInput(fileNames, !raw);
    if (!input) {
        return std::nullopt;
    }
    std::size_t badOffset = 0;
    auto decoded = Utf8ToUtf16Strict(input->bytes, &badOffset);
    if (!decoded) {
        const auto [file, offset] = input->Locate(badOffset);
        Fail(std::string(file) + " is not valid UTF-8 (byte offset " + std::to_string(offset) +
             ")");
    }
    return decoded;
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
    // input, so when the input is files the table is read on a thread of its own meanwhile, which
    // is joined before either is reported. Input from a terminal or a pipe may take as long as the
    // person or the program writing it, so then the table is read first: a table that cannot be
    // read ends the command before anything is waited for.
    CodeTable table;
    bool tableRead = false;
    std::optional<std::u16string> decoded;
    if (ReadsOnlyRegularFiles(args->operands)) {
        std::jthread tableReader(
            [&] { tableRead = LoadTable(chosen->path, table, chosen->kinds); });
        decoded = ReadText(args->operands, raw);
    } else {
        tableRead = LoadTable(chosen->path, table, chosen->kinds);
        decoded = tableRead ? ReadText(args->operands, raw) : std::nullopt;
    }
    if (!tableRead || !decoded) {
        return kExitFailure;
    }

    const std::u16string_view text = *decoded;
    if (binary) {
        return WriteTextAsBytes(table, text, args->Has("--line-break"), raw);
    }
    // Line breaks in a result come out in the input's style; --raw leaves them as converted.
    TextOutput out(raw ? std::string("\r\n") : Utf16ToUtf8(LineBreakStyle(text)));
    Conversion c{table, args->Has("--line-break"), args->Has("--report"), out};
    const bool written = raw     ? ConvertRaw(c, direction, text)
                         : whole ? ConvertAsBox(c, direction, text)
                                 : ConvertLines(c, direction, text);
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
