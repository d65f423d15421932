// The path of an unspaced codes input: the spacing rule, the automatic decision, the spacing
// itself, then codes to text on a small real table.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/engine/CodeToText.h"
#include "core/engine/Spacing.h"
#include "core/tables/TableReader.h"
#include "fuzz/FuzzInput.h"

namespace {

const zelkora::CodeTable& Table() {
    static const zelkora::CodeTable table = zelkora::ParseTable(
        u"// sample\r\n41 A\r\n42 B\r\n3042 \u3042\r\n8140 \u3000\r\n20  \r\n0A \\n\r\n"
        u"FFFFFFFF max\r\n0041 wide-A\r\n1 one");
    return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelkora;
    const std::u16string input = fuzz::Utf16Units(std::span<const std::uint8_t>(data, size));
    static_cast<void>(LooksLikeCodes(input));

    std::u16string codes = input;
    if (NeedsSpacing(input)) {
        codes = fSplitPairs(input);
        // Groups of two from the end, one space between groups, nothing else added or lost.
        const std::size_t groups = (input.size() + 1) / 2;
        fuzz::Require(codes.size() == input.size() + groups - 1);
        std::u16string joined;
        for (const char16_t c : codes) {
            if (c != u' ') {
                joined += c;
            }
        }
        fuzz::Require(joined == input);
        fuzz::Require(codes[input.size() % 2 == 1 ? 1 : 2] == u' ');
    }
    static_cast<void>(fCodeToText(Table(), codes, (size & 1) != 0));
    return 0;
}
