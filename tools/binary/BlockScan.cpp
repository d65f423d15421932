#include "tools/binary/BlockScan.h"

#include <algorithm>
#include <vector>

namespace zelkora {

bool ScanBlocks(const ByteSource& source, const ScanLimits& limits,
                const std::function<bool(const ScanWindow&)>& look) {
    const std::size_t block = std::max<std::size_t>(limits.block, 1);
    const std::size_t ahead = limits.reach + limits.context;  // what a start needs after it
    std::vector<std::uint8_t> bytes;
    std::uint64_t offset = 0;  // of bytes[0]
    std::size_t next = 0;      // the first start not yet looked at
    for (;;) {
        const std::size_t kept = bytes.size();
        bytes.resize(kept + block);
        const auto read = source(std::span(bytes).subspan(kept));
        if (!read) {
            return false;
        }
        bytes.resize(kept + *read);
        const bool end = *read == 0;
        // Until the end, only starts with all they need after them are looked at; the others
        // wait for the next block.
        const std::size_t to =
            end ? bytes.size() : std::max(next, bytes.size() - std::min(bytes.size(), ahead - 1));
        if (to > next && !look(ScanWindow{bytes, offset, next, to})) {
            return true;
        }
        if (end) {
            return true;
        }
        next = to;
        // What the starts still to come may show before them stays; the rest goes.
        const std::size_t drop = next - std::min(next, limits.context);
        bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(drop));
        offset += drop;
        next -= drop;
    }
}

}  // namespace zelkora
