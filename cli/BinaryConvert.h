#pragma once

// --binary: to-codes writes the codes as raw bytes, to-text reads raw bytes as codes.

#include <cstdint>
#include <optional>
#include <string_view>

#include "cli/CliIo.h"
#include "cli/TextInput.h"
#include "core/engine/CodeTable.h"

namespace zelkora::cli {

// Where to-text --binary reads: from `offset` bytes in, for `length` bytes at most.
struct ByteRange {
    std::uint64_t offset = 0;
    std::uint64_t length = UINT64_MAX;
};

// --binary, --offset and --length checked against the other options, before anything is read:
// the range to read, or nothing after a usage message. --offset and --length go with to-text
// --binary only; --lines and --report mean nothing for bytes; to-text --binary reads one FILE.
[[nodiscard]] std::optional<ByteRange> BinaryRequest(const Invocation& invocation,
                                                     const ParsedArgs& args, bool readsBytes);

// to-codes --binary: the text's codes written as bytes. The text is converted as --whole
// converts it (each line end inside it as CR LF, which --line-break converts as the table's
// "\n" entry; the final line end not converted and not written), or as given with `raw`. At a
// character without bytes the output stops, with a message naming it. The exit status.
int WriteTextAsBytes(const CodeTable& table, TextInput& input, bool lineBreak, bool raw);

// to-text --binary: the bytes of the FILE (or standard input) in the range, converted as codes
// and written as UTF-8 text; line breaks from --line-break as LF, or CR LF with --raw. The exit
// status.
int WriteBytesAsText(const CodeTable& table, const ParsedArgs& args, const ByteRange& range);

}  // namespace zelkora::cli
