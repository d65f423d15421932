#include <cstdio>
#include <string>
#include <variant>

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

std::optional<std::vector<std::uint8_t>> ReadTableArgument(std::string_view operand) {
    const std::filesystem::path path = std::string(operand);
    auto bytes = ReadFileBytes(path);
    if (!bytes) {
        Fail("cannot read " + Quoted(path) + ": " + WhyUnreadable(path));
    }
    return bytes;
}

// What a command that reads one table file is given: its options, and the file's name and bytes.
struct TableFileArguments {
    ParsedArgs args;
    std::string_view name;
    std::vector<std::uint8_t> bytes;
};

// Or, after a message, the exit status: a usage error, or a file that cannot be read.
std::variant<TableFileArguments, int> ReadTableFileArguments(const Invocation& invocation,
                                                             std::span<const OptionSpec> options) {
    auto args = ParseArgs(invocation, options, 1, 1);
    if (!args) {
        return kExitUsage;
    }
    const std::string_view name = args->operands.front();
    auto bytes = ReadTableArgument(name);
    if (!bytes) {
        return kExitFailure;
    }
    return TableFileArguments{std::move(*args), name, std::move(*bytes)};
}

std::string_view AsChars(const std::vector<std::uint8_t>& bytes) {
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
    if (const auto range = args->Value("--range")) {
        bool reversed = false;
        request.range = ParseCodeRange(*range, &reversed);
        if (!request.range) {
            return UsageError(invocation.usage,
                              "bad range '" + std::string(*range) + "': " +
                                  (reversed ? "FROM is above TO"
                                            : "two hexadecimal codes of up to four digits, "
                                              "FROM-TO"));
        }
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

    MakeTableFailure why{};
    const auto made = MakeTable(request, &why);
    if (!made && why == MakeTableFailure::UnknownCharset) {
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
    const auto given = ReadTableFileArguments(invocation, kOptions);
    if (const int* status = std::get_if<int>(&given)) {
        return *status;
    }
    const auto& [args, name, bytes] = std::get<TableFileArguments>(given);
    const TableCheck check = CheckTable(bytes);
    if (!WriteStandardOutput(FormatTableCheck(check, name, args.Has("--quiet")))) {
        return kExitFailure;
    }
    return check.ChangesMeaning() ? kExitFailure : kExitOk;
}

int RunImportTbl(const Invocation& invocation) {
    static constexpr OptionSpec kOptions[] = {{"--encoding", true}, {kLeadByteFirst, false}};
    const auto given = ReadTableFileArguments(invocation, kOptions);
    if (const int* status = std::get_if<int>(&given)) {
        return *status;
    }
    const auto& [args, name, bytes] = std::get<TableFileArguments>(given);
    const auto encoding = OutputEncoding(invocation, args);
    if (!encoding) {
        return kExitUsage;
    }
    const std::filesystem::path path = std::string(name);
    const ImportedTable imported =
        ImportTbl(bytes, FileNameToText(path.filename().native()), *encoding, CodeFormOption(args));
    if (!WriteStandardOutput(AsChars(imported.bytes))) {
        return kExitFailure;
    }
    std::fputs(FormatTblIssues(imported, name, *encoding).c_str(), stderr);
    if (imported.entries == 0) {
        return Fail(Quoted(path) + " holds no entry that could be carried over");
    }
    return imported.issues.empty() ? kExitOk : kExitFailure;
}

int RunSwapCodes(const Invocation& invocation) {
    const auto given = ReadTableFileArguments(invocation, {});
    if (const int* status = std::get_if<int>(&given)) {
        return *status;
    }
    const auto& [args, name, bytes] = std::get<TableFileArguments>(given);
    SwapFailure why{};
    const auto swapped = SwapTwoByteCodes(bytes, &why);
    if (!swapped && why == SwapFailure::EmptyFile) {
        return Fail(Quoted(std::string(name)) + " is empty");
    }
    if (!swapped) {
        return Fail(Quoted(std::string(name)) + ", read as " +
                    std::string(EncodingName(DetectEncoding(bytes))) +
                    ", does not come back byte for byte from its text, so it cannot be rewritten "
                    "with only its codes changed: swap the codes in an editor, or save the table "
                    "in UTF-8 first");
    }
    return WriteStandardOutput(AsChars(swapped->bytes)) ? kExitOk : kExitFailure;
}

}  // namespace zelkora::cli
