#include "tools/binary/ByteSearch.h"

#include <algorithm>
#include <functional>

namespace zelkora {

bool FindBytes(const ByteSource& source, std::span<const std::uint8_t> pattern, std::size_t context,
               std::size_t blockSize, const std::function<bool(const ByteHit&)>& hit) {
    const std::boyer_moore_horspool_searcher searcher(pattern.begin(), pattern.end());
    const ScanLimits limits{blockSize, pattern.size(), context};
    return ScanBlocks(source, limits, [&](const ScanWindow& window) {
        const std::span<const std::uint8_t> bytes = window.bytes;
        // Matches that start before `to`, so the search runs on to the last byte they can hold.
        const auto last = bytes.begin() + static_cast<std::ptrdiff_t>(std::min(
                                              bytes.size(), window.to + pattern.size() - 1));
        for (auto at = bytes.begin() + static_cast<std::ptrdiff_t>(window.from);;) {
            const auto found = std::search(at, last, searcher);
            if (found == last) {
                return true;
            }
            const auto start = static_cast<std::size_t>(found - bytes.begin());
            const std::size_t before = std::min(start, context);
            const std::size_t end = start + pattern.size();
            const ByteHit place{window.offset + start, bytes.subspan(start - before, before),
                                bytes.subspan(start, pattern.size()),
                                bytes.subspan(end, std::min(context, bytes.size() - end))};
            if (!hit(place)) {
                return false;
            }
            at = found + 1;  // every start: a later one may overlap this one
        }
    });
}

}  // namespace zelkora
