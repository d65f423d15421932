#pragma once

// Data of any size looked through in blocks, in memory that does not grow with the data: each
// offset is shown once, with the bytes a match there needs and some context either side.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace zelkora {

// Fills the start of the buffer: how many bytes it read, 0 at the end of the data, nothing when
// reading failed.
using ByteSource = std::function<std::optional<std::size_t>(std::span<std::uint8_t>)>;

struct ScanLimits {
    std::size_t block = 1 << 16;  // bytes read at a time
    std::size_t reach = 1;        // bytes a match needs from its start
    std::size_t context = 0;      // bytes wanted before a match and after its reach
};

// The bytes in memory, and the starts to look at in them now.
struct ScanWindow {
    std::span<const std::uint8_t> bytes;
    std::uint64_t offset = 0;  // where bytes[0] lies in the data
    std::size_t from = 0;      // starts bytes[from] to bytes[to - 1]
    std::size_t to = 0;
};

// Calls look() with windows whose starts cover every offset of the data once, in order. A start
// has `reach` bytes and `context` more after it, and `context` bytes before it, in its window,
// fewer only at the ends of the data. look() returns false to stop early. False when the source
// failed. Memory: about block + reach + 2 * context bytes.
[[nodiscard]] bool ScanBlocks(const ByteSource& source, const ScanLimits& limits,
                              const std::function<bool(const ScanWindow&)>& look);

}  // namespace zelkora
