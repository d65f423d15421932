#include "cli/BinaryConvert.h"

#include <string>
#include <vector>

#include "cli/ByteFile.h"
#include "cli/ConvertModes.h"
#include "cli/CountOption.h"
#include "core/common/TextLines.h"
#include "core/engine/CodeToText.h"
#include "tools/binary/TableBytes.h"

namespace zelkora::cli {
namespace {

std::string_view AsChars(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
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

int WriteTextAsBytes(const CodeTable& table, TextInput& input, bool lineBreak, bool raw) {
    bool faulty = false;
    TextPosition start;
    const bool converted = ForEachTextPiece(input, !raw, [&](std::u16string_view piece) {
        const TextBytes result = TextToBytes(table, piece, lineBreak);
        if (!WriteStandardOutput(AsChars(result.bytes))) {
            return false;
        }
        if (result.fault) {
            faulty = true;
            std::string message = UncodableMessage(piece, *result.fault, start);
            if (LineEndAt(piece, result.fault->offset) > 0) {
                message += lineBreak
                               ? " (a line break converts as the table's \"\\n\" entry)"
                               : " (a line break inside the input converts only with --line-break,"
                                 " as the table's \"\\n\" entry)";
            }
            Fail(message);
            return false;
        }
        start = Continued(start, PositionOf(piece, piece.size()));
        return true;
    });
    return converted && !faulty ? kExitOk : kExitFailure;
}

int WriteBytesAsText(const CodeTable& table, const ParsedArgs& args, const ByteRange& range) {
    ByteFile file(args.operands.empty() ? "-" : args.operands.front());
    if (!file.Good()) {
        return Fail("cannot read " + file.Name() + ": " + file.Why());
    }
    const std::uint64_t skipped = file.Skip(range.offset);
    if (file.Good() && skipped < range.offset) {
        return Fail("offset " + std::to_string(range.offset) + " is beyond the end of " +
                    file.Name() + " (" + std::to_string(skipped) + " bytes)");
    }
    // The bytes are read a block at a time and converted as codes as far as they can be before
    // the next block, so any range takes the memory of a block.
    constexpr std::size_t kBlock = std::size_t{1} << 18;
    const ByteSource source = file.Source();
    std::vector<std::uint8_t> bytes;
    std::u16string codes;
    std::u16string text;
    CodeToTextStream stream(table, args.Has("--line-break"));
    TextOutput out(args.Has("--raw") ? "\r\n" : "\n");
    for (std::uint64_t left = range.length; true;) {
        bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, left)));
        const auto read = bytes.empty() ? std::optional<std::size_t>(0) : source(bytes);
        if (!read || !file.Good()) {
            return Fail("cannot read " + file.Name() + ": " + file.Why());
        }
        left -= *read;
        AppendByteCodes(std::span(bytes).first(*read), codes);
        const bool last = *read == 0;
        text.clear();
        codes.erase(0, stream.Convert(codes, last, text));
        if (!out.Result(text)) {
            return kExitFailure;
        }
        if (last) {
            return out.Flush() ? kExitOk : kExitFailure;
        }
    }
}

}  // namespace zelkora::cli
