#pragma once

// Every place data holds a given run of bytes, as a byte search reports them: each start,
// overlapping ones included, with the bytes around it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "tools/binary/BlockScan.h"

namespace zelkora {

// One place where the bytes were found. The spans are valid only during the call.
struct ByteHit {
    std::uint64_t offset = 0;
    std::span<const std::uint8_t> before;  // up to `context` bytes, fewer at the data's start
    std::span<const std::uint8_t> match;
    std::span<const std::uint8_t> after;  // up to `context` bytes, fewer at the data's end
};

// Calls hit() for each start of `pattern` (not empty) in the data, in order; hit() returns
// false to stop. False when the source failed.
[[nodiscard]] bool FindBytes(const ByteSource& source, std::span<const std::uint8_t> pattern,
                             std::size_t context, std::size_t blockSize,
                             const std::function<bool(const ByteHit&)>& hit);

}  // namespace zelkora
