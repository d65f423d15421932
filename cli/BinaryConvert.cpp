#include "cli/BinaryConvert.h"

#include <string>
#include <vector>

#include "cli/ByteFile.h"
#include "cli/CountOption.h"
#include "cli/LineEnds.h"
#include "tools/binary/TableBytes.h"

namespace zelkora::cli {
namespace {

std::string_view AsChars(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The bytes of the range, read whole; nothing after a message.
std::optional<std::vector<std::uint8_t>> ReadRange(ByteFile& file, const ByteRange& range) {
    const std::uint64_t skipped = file.Skip(range.offset);
    if (file.Good() && skipped < range.offset) {
        Fail("offset " + std::to_string(range.offset) + " is beyond the end of " + file.Name() +
             " (" + std::to_string(skipped) + " bytes)");
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    const ByteSource source = file.Source();
    constexpr std::size_t kBlock = std::size_t{1} << 16;
    while (bytes.size() < range.length) {
        const std::size_t kept = bytes.size();
        bytes.resize(kept + std::min<std::uint64_t>(kBlock, range.length - kept));
        const auto read = source(std::span(bytes).subspan(kept));
        bytes.resize(kept + read.value_or(0));
        if (!read || *read == 0) {
            break;
        }
    }
    if (!file.Good()) {
        Fail("cannot read " + file.Name() + ": " + file.Why());
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

std::optional<ByteRange> BinaryRequest(const Invocation& invocation, const ParsedArgs& args,
                                       bool readsBytes) {
    const auto refuse = [&](std::string_view message) -> std::optional<ByteRange> {
        UsageError(invocation.usage, message);
        return std::nullopt;
    };
    if (!args.Has("--binary")) {
        return refuse("--offset and --length go with --binary");
    }
    if (!readsBytes && (args.Has("--offset") || args.Has("--length"))) {
        return refuse("--offset and --length go with to-text --binary");
    }
    if (args.Has("--lines") || args.Has("--report")) {
        return refuse("--lines and --report cannot be used with --binary");
    }
    if (readsBytes && args.operands.size() > 1) {
        return refuse("to-text --binary reads one FILE");
    }
    const auto offset = CountOption(invocation, args, "--offset", 0);
    const auto length = offset ? CountOption(invocation, args, "--length", UINT64_MAX) : offset;
    if (!offset || !length) {
        return std::nullopt;
    }
    return ByteRange{*offset, *length};
}

int WriteTextAsBytes(const CodeTable& table, std::u16string_view text, bool lineBreak, bool raw) {
    std::u16string boxed;
    const std::u16string_view converted =
        raw ? text : AsBoxText(SplitFinalLineEnd(text).text, boxed);
    const TextBytes result = TextToBytes(table, converted, lineBreak);
    if (!WriteStandardOutput(AsChars(result.bytes))) {
        return kExitFailure;
    }
    if (!result.fault) {
        return kExitOk;
    }
    std::string message = UncodableMessage(converted, *result.fault);
    if (LineEndAt(converted, result.fault->offset) > 0) {
        message += lineBreak ? " (a line break converts as the table's \"\\n\" entry)"
                             : " (a line break inside the input converts only with --line-break,"
                               " as the table's \"\\n\" entry)";
    }
    return Fail(message);
}

int WriteBytesAsText(const CodeTable& table, const ParsedArgs& args, const ByteRange& range) {
    ByteFile file(args.operands.empty() ? "-" : args.operands.front());
    if (!file.Good()) {
        return Fail("cannot read " + file.Name() + ": " + file.Why());
    }
    const auto bytes = ReadRange(file, range);
    if (!bytes) {
        return kExitFailure;
    }
    TextOutput out(args.Has("--raw") ? "\r\n" : "\n");
    const bool written =
        out.Result(BytesToText(table, *bytes, args.Has("--line-break"))) && out.Flush();
    return written ? kExitOk : kExitFailure;
}

}  // namespace zelkora::cli
