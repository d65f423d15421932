// Both conversions on a fuzzed table with fuzzed input. Layout of an input: one flags byte
// (bit 0: the line-break option), the table file's bytes, the marker FE FE FE FE, then the
// text to convert as UTF-16LE code units.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/encoding/DecodeText.h"
#include "core/engine/CodeToText.h"
#include "core/engine/TextToCode.h"
#include "core/tables/TableReader.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelkora;
    if (size == 0) {
        return 0;
    }
    const bool lineBreakOption = (data[0] & 1) != 0;
    const fuzz::Split parts =
        fuzz::SplitAt(std::span<const std::uint8_t>(data + 1, size - 1), "\xFE\xFE\xFE\xFE");
    const CodeTable table = ParseTable(DecodeTableBytes(parts.first));
    const std::u16string input = fuzz::Utf16Units(parts.second);

    const std::u16string codes = fTextToCode(table, input, lineBreakOption);
    // Every character (a CR LF or "\n" pair at most two) gives one group ending in a space.
    fuzz::Require(input.empty() == codes.empty());
    fuzz::Require(codes.empty() || codes.back() == u' ');

    static_cast<void>(fCodeToText(table, input, lineBreakOption));
    // The codes just written read back without trouble too.
    static_cast<void>(fCodeToText(table, codes, lineBreakOption));
    return 0;
}
