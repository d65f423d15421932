#include <string>

#include "cli/CliIo.h"
#include "cli/CliTable.h"
#include "cli/Commands.h"
#include "cli/SlotDump.h"
#include "core/common/FileBytes.h"
#include "core/encoding/Utf8.h"
#include "core/encoding/modJudge.h"
#include "core/tables/TableReader.h"

namespace zelkora::cli {

int RunDetect(const Invocation& invocation) {
    const auto args = ParseArgs(invocation, {}, 1, 1);
    if (!args) {
        return kExitUsage;
    }
    const std::filesystem::path path = std::string(args->operands.front());
    const auto bytes = ReadFileBytes(path);
    if (!bytes) {
        return Fail("cannot read " + Quoted(path) + ": " + bytes.error().message());
    }
    if (bytes->empty()) {
        return Fail(Quoted(path) + " is empty: there is nothing to detect");
    }
    return WriteStandardOutput(std::string(EncodingName(DetectEncoding(*bytes))) + "\n")
               ? kExitOk
               : kExitFailure;
}

int RunDump(const Invocation& invocation) {
    const auto args = ParseArgs(invocation, {}, 1, 1);
    if (!args) {
        return kExitUsage;
    }
    CodeTable table;
    if (!LoadTable(std::string(args->operands.front()), table)) {
        return kExitFailure;
    }
    return WriteStandardOutput(Utf16ToUtf8(FormatSlots(table))) ? kExitOk : kExitFailure;
}

}  // namespace zelkora::cli
