#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/ByteFile.h"
#include "cli/CliIo.h"
#include "cli/CliTable.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/CountOption.h"
#include "cli/TableOption.h"
#include "core/common/FileNames.h"
#include "core/encoding/Utf8.h"
#include "tools/binary/ByteSearch.h"
#include "tools/binary/HitContext.h"
#include "tools/binary/RelativeSearch.h"
#include "tools/binary/StarterTable.h"
#include "tools/binary/TableBytes.h"

namespace zelkora::cli {
namespace {

// The exit status follows grep's.
constexpr int kFound = 0;
constexpr int kNoneFound = 1;
constexpr int kTrouble = 2;  // a usage error, or a table, a FILE or the output failed

constexpr OptionSpec kOptions[] = {{"--table", true, "-t"}, {"--count", false, "-c"},
                                   {"--context", true},     {"--relative", false},
                                   {"--make-table", false}, {"--hit", true}};

// Bytes read at a time: the memory a search takes, whatever the size of the data.
constexpr std::size_t kBlock = std::size_t{1} << 16;
constexpr std::uint64_t kMostContext = 4096;

// Writes one line for each hit: its offset and what it shows.
using Report = std::function<bool(std::uint64_t offset, const std::u16string& shown)>;
// Searches one FILE, calling the report for each hit; false when the FILE could not be read.
using Search = std::function<bool(const ByteSource& source, const Report& report)>;

// A number in decimal, or in hexadecimal with 0x, as find writes counts and offsets.
std::u16string Number(const char* format, std::uint64_t value) {
    char digits[24];
    const int length =
        std::snprintf(digits, sizeof digits, format, static_cast<unsigned long long>(value));
    return {digits, digits + length};
}

// The FILE operands, after TEXT or WORD: standard input when there is none.
std::vector<std::string_view> FileOperands(const ParsedArgs& args) {
    std::vector<std::string_view> names(args.operands.begin() + 1, args.operands.end());
    if (names.empty()) {
        names.push_back("-");
    }
    return names;
}

// Runs the search on one FILE ("-": standard input); false, after a message, when the FILE
// cannot be read.
bool SearchFile(std::string_view operand, const std::function<bool(const ByteSource&)>& search) {
    ByteFile file(operand);
    if (file.Good() && search(file.Source()) && file.Good()) {
        return true;
    }
    Fail("cannot read " + file.Name() + ": " + file.Why());
    return false;
}

// Runs the search on each FILE, printing each hit, or with -c each FILE's count, after "FILE:"
// when there are several. A FILE that cannot be read is reported and the next one searched.
int SearchFiles(const ParsedArgs& args, const Search& search) {
    const std::vector<std::string_view> names = FileOperands(args);
    const bool count = args.Has("--count");
    TextOutput out("\n");
    std::uint64_t total = 0;
    bool trouble = false;
    for (const std::string_view name : names) {
        const std::u16string prefix = names.size() == 1 ? u""
                                      : name == "-"     ? u"(standard input):"
                                                        : FileNameToText(name) + u":";
        std::uint64_t hits = 0;
        bool written = true;
        const Report report = [&](std::uint64_t offset, const std::u16string& shown) {
            ++hits;
            written =
                count || out.Exactly(prefix + Number("0x%llx", offset) + u": " + shown + u"\n");
            return written;
        };
        trouble |=
            !SearchFile(name, [&](const ByteSource& source) { return search(source, report); });
        if (!written || (count && !out.Exactly(prefix + Number("%llu", hits) + u"\n"))) {
            return kTrouble;
        }
        total += hits;
    }
    if (!out.Flush()) {
        return kTrouble;
    }
    return trouble ? kTrouble : total > 0 ? kFound : kNoneFound;
}

// find TEXT: its bytes through the table, each hit shown with the text around it.
int FindText(const ParsedArgs& args, std::u16string_view text, std::size_t context) {
    const auto chosen = ChosenTable(args.Value("--table"));
    if (!chosen) {
        return kTrouble;
    }
    if (TableIsTheInput(*chosen, args.operands)) {
        Fail("the table and the data cannot both come from standard input: name the FILE");
        return kTrouble;
    }
    CodeTable table;
    if (!LoadTable(chosen->path, table, chosen->kinds)) {
        return kTrouble;
    }
    const TextBytes pattern = TextToBytes(table, text, false);
    if (pattern.fault) {
        Fail("TEXT: " + UncodableMessage(text, *pattern.fault));
        return kTrouble;
    }
    return SearchFiles(args, [&](const ByteSource& source, const Report& report) {
        return FindBytes(source, pattern.bytes, context, kBlock, [&](const ByteHit& hit) {
            return report(hit.offset, ContextText(table, hit));
        });
    });
}

// find --relative WORD: every place, unit and order where WORD's differences show.
int FindWord(const ParsedArgs& args, std::u16string_view word) {
    return SearchFiles(args, [&](const ByteSource& source, const Report& report) {
        return FindRelative(source, word, kBlock, [&](const RelativeHit& hit) {
            return report(hit.offset, DescribeHit(hit));
        });
    });
}

// find --relative --make-table: the starter table of the only hit, or of hit K (from 1) with
// --hit K, counted over the FILEs in order.
int WriteStarterTable(const Invocation& invocation, const ParsedArgs& args,
                      std::u16string_view word, std::uint64_t wanted) {
    std::optional<RelativeHit> chosen;
    std::uint64_t seen = 0;
    // Without --hit a second hit settles it: the choice is the user's.
    const std::uint64_t enough = wanted == 0 ? 2 : wanted;
    bool trouble = false;
    for (const std::string_view name : FileOperands(args)) {
        if (seen == enough) {
            break;
        }
        trouble |= !SearchFile(name, [&](const ByteSource& source) {
            return FindRelative(source, word, kBlock, [&](const RelativeHit& hit) {
                if (++seen == std::max<std::uint64_t>(wanted, 1)) {
                    chosen = hit;
                }
                return seen < enough;
            });
        });
    }
    if (trouble) {
        return kTrouble;
    }
    if (seen == 0) {
        Fail("WORD was not found: no table written");
        return kNoneFound;
    }
    if (wanted == 0 && seen > 1) {
        Fail(
            "WORD was found more than once: choose a hit with --hit K, K counting the lines "
            "that find --relative prints from 1");
        return kTrouble;
    }
    if (!chosen) {
        Fail("there are only " + std::to_string(seen) + " hits: --hit " + std::to_string(wanted) +
             " names none");
        return kTrouble;
    }
    const StarterTable table = MakeStarterTable(*chosen, CommandLine("find", invocation.args));
    const std::string_view bytes(reinterpret_cast<const char*>(table.bytes.data()),
                                 table.bytes.size());
    return WriteStandardOutput(bytes) ? kFound : kTrouble;
}

// Options that belong to the other kind of search, or need one another.
std::optional<std::string_view> OptionProblem(const ParsedArgs& args) {
    if (args.Has("--relative") && (args.Has("--table") || args.Has("--context"))) {
        return "--relative searches without a table: -t and --context go with TEXT";
    }
    if (!args.Has("--relative") && args.Has("--make-table")) {
        return "--make-table goes with --relative";
    }
    if (args.Has("--hit") && !args.Has("--make-table")) {
        return "--hit goes with --make-table";
    }
    if (args.Has("--make-table") && args.Has("--count")) {
        return "--make-table and -c cannot be used together";
    }
    return std::nullopt;
}

}  // namespace

int RunFind(const Invocation& invocation) {
    const auto args = ParseArgs(invocation, kOptions, 1, SIZE_MAX);
    if (!args) {
        return kTrouble;
    }
    if (const auto problem = OptionProblem(*args)) {
        return UsageError(invocation.usage, *problem);
    }
    const bool relative = args->Has("--relative");
    const auto needle = Utf8ToUtf16Strict(args->operands.front());
    if (!needle || needle->empty()) {
        return UsageError(invocation.usage, relative ? "WORD must be UTF-8 text"
                                                     : "TEXT must be UTF-8 text, not empty");
    }
    if (!relative) {
        const auto context = CountOption(invocation, *args, "--context", 16, kMostContext);
        return context ? FindText(*args, *needle, static_cast<std::size_t>(*context)) : kTrouble;
    }
    if (const auto problem = RelativeWordProblem(*needle)) {
        return UsageError(invocation.usage, *problem);
    }
    if (!args->Has("--make-table")) {
        return FindWord(*args, *needle);
    }
    const auto hit = CountOption(invocation, *args, "--hit", 0);
    if (!hit || (args->Has("--hit") && *hit == 0)) {
        return hit ? UsageError(invocation.usage, "--hit counts from 1") : kTrouble;
    }
    return WriteStarterTable(invocation, *args, *needle, *hit);
}

}  // namespace zelkora::cli
