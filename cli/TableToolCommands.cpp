#include <cstdio>
#include <functional>
#include <span>
#include <string>

#include "cli/CliIo.h"
#include "cli/CliTable.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "core/common/FileBytes.h"
#include "core/common/FileNames.h"
#include "core/encoding/EncodingRegistry.h"
#include "tools/tables/SwapCodes.h"
#include "tools/tables/TableChecker.h"
#include "tools/tables/TableMaker.h"
#include "tools/tables/TblImporter.h"

namespace zelkora::cli {
namespace {

// Arguments are UTF-8 on any sane system; bytes that are not still reach the header intact.
std::u16string ArgumentText(std::string_view arg) {
    return FileNameToText(arg);
}

std::optional<Encoding> OutputEncoding(const Invocation& invocation, const ParsedArgs& args) {
    const auto name = args.Value("--encoding");
    if (!name) {
        return Encoding::UTF8;
    }
    const auto encoding = ParseTableEncoding(*name);
    if (!encoding) {
        UsageError(invocation.usage, "unknown encoding '" + std::string(*name) + "' (" +
                                         EncodingNameList() + ", or their charset names)");
    }
    return encoding;
}

// What a command that reads one table file works on: its options, and the file's name and bytes.
using TableFileCommand = std::function<int(const ParsedArgs& args, std::string_view name,
                                           std::span<const std::uint8_t> bytes)>;

// Runs the command on the one table file its arguments name; a usage error, or a file that cannot
// be read, ends it first with a message and its exit status.
int WithTableFile(const Invocation& invocation, std::span<const OptionSpec> options,
                  const TableFileCommand& command) {
    const auto args = ParseArgs(invocation, options, 1, 1);
    if (!args) {
        return kExitUsage;
    }
    const std::string_view name = args->operands.front();
    const std::filesystem::path path = std::string(name);
    const auto bytes = ReadFileBytes(path);
    if (!bytes) {
        return Fail("cannot read " + Quoted(path) + ": " + bytes.error().message());
    }
    return command(*args, name, *bytes);
}

std::string_view AsChars(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Shared by make-table and import-tbl: two-byte codes as charts print them, not in file order.
constexpr std::string_view kLeadByteFirst = "--lead-byte-first";

CodeForm CodeFormOption(const ParsedArgs& args) {
    return args.Has(kLeadByteFirst) ? CodeForm::LeadByteFirst : CodeForm::FileOrder;
}

constexpr OptionSpec kMakeOptions[] = {
    {"--charset", true},      {"--range", true},         {"--encoding", true},   {"--title", true},
    {"--private-use", false}, {"--alternatives", false}, {kLeadByteFirst, false}};

}  // namespace

int RunMakeTable(const Invocation& invocation) {
    const auto args = ParseArgs(invocation, kMakeOptions, 0, 0);
    if (!args) {
        return kExitUsage;
    }
    MakeTableRequest request;
    const auto charset = args->Value("--charset");
    if (!charset) {
        return UsageError(invocation.usage, "missing --charset");
    }
    request.charset = *charset;
    if (const auto given = args->Value("--range")) {
        const Result<CodeRange> range = ParseCodeRange(*given);
        if (!range) {
            return UsageError(invocation.usage, "bad range '" + std::string(*given) +
                                                    "': " + range.error().message());
        }
        request.range = *range;
    }
    const auto encoding = OutputEncoding(invocation, *args);
    if (!encoding) {
        return kExitUsage;
    }
    request.encoding = *encoding;
    request.privateUse = args->Has("--private-use");
    request.alternatives = args->Has("--alternatives");
    request.form = CodeFormOption(*args);
    request.title = ArgumentText(args->Value("--title").value_or(""));
    request.command = CommandLine("make-table", invocation.args);

    const auto made = MakeTable(request);
    if (!made && made.error() == MakeTableFailure::UnknownCharset) {
        return UsageError(invocation.usage,
                          "the converter library knows no charset '" + request.charset + "'");
    }
    if (!made) {
        return Fail("the converter library cannot store a table in " +
                    std::string(CharsetName(request.encoding)));
    }
    if (!WriteStandardOutput(AsChars(made->bytes))) {
        return kExitFailure;
    }
    // The table is written in every case; the status says whether it holds all it should.
    int status = kExitOk;
    if (made->entries == 0) {
        status =
            Fail("no code of '" + request.charset + "' in this range decodes to one character");
    }
    if (made->unstorable > 0) {
        status = Fail(std::to_string(made->unstorable) + " entries left out: " +
                      std::string(CharsetName(request.encoding)) + " cannot hold their character");
    }
    if (!made->readsBack) {
        status = Fail("the table reader would not read this file back as written");
    }
    return status;
}

int RunCheckTable(const Invocation& invocation) {
    static constexpr OptionSpec kOptions[] = {{"--quiet", false}};
    return WithTableFile(
        invocation, kOptions,
        [](const ParsedArgs& args, std::string_view name, std::span<const std::uint8_t> bytes) {
            // Written in pieces of about 64 KiB as the check goes: the report on a table of
            // millions of lines can be hundreds of megabytes.
            constexpr std::size_t kPiece = std::size_t{64} << 10;
            std::string pending;
            bool written = true;
            const auto flush = [&] {
                written = written && WriteStandardOutput(pending);
                pending.clear();
            };
            const TableCheck check =
                WriteTableCheck(bytes, name, args.Has("--quiet"), [&](std::string_view piece) {
                    pending += piece;
                    if (pending.size() >= kPiece) {
                        flush();
                    }
                });
            flush();
            if (!written) {
                return kExitFailure;
            }
            return check.ChangesMeaning() ? kExitFailure : kExitOk;
        });
}

int RunImportTbl(const Invocation& invocation) {
    static constexpr OptionSpec kOptions[] = {{"--encoding", true}, {kLeadByteFirst, false}};
    return WithTableFile(
        invocation, kOptions,
        [&](const ParsedArgs& args, std::string_view name, std::span<const std::uint8_t> bytes) {
            const auto encoding = OutputEncoding(invocation, args);
            if (!encoding) {
                return kExitUsage;
            }
            const std::filesystem::path path = std::string(name);
            const ImportedTable imported = ImportTbl(
                bytes, FileNameToText(path.filename().native()), *encoding, CodeFormOption(args));
            if (!WriteStandardOutput(AsChars(imported.bytes))) {
                return kExitFailure;
            }
            std::fputs(FormatTblIssues(imported, name, *encoding).c_str(), stderr);
            if (imported.entries == 0) {
                return Fail(Quoted(path) + " holds no entry that could be carried over");
            }
            return imported.issues.empty() ? kExitOk : kExitFailure;
        });
}

int RunSwapCodes(const Invocation& invocation) {
    return WithTableFile(
        invocation, {},
        [](const ParsedArgs&, std::string_view name, std::span<const std::uint8_t> bytes) {
            const auto swapped = SwapTwoByteCodes(bytes);
            if (!swapped && swapped.error() == SwapFailure::EmptyFile) {
                return Fail(Quoted(std::string(name)) + " is empty");
            }
            if (!swapped) {
                return Fail(
                    Quoted(std::string(name)) + ", read as " +
                    std::string(EncodingName(DetectEncoding(bytes))) +
                    ", does not come back byte for byte from its text, so it cannot be "
                    "rewritten with only its codes changed: swap the codes in an editor, or "
                    "save the table in UTF-8 first");
            }
            return WriteStandardOutput(AsChars(swapped->bytes)) ? kExitOk : kExitFailure;
        });
}

}  // namespace zelkora::cli
