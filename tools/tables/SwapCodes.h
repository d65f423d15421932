#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/encoding/EncodingRegistry.h"

namespace zelkora {

struct SwappedTable {
    std::vector<std::uint8_t> bytes;  // the whole file, rewritten
    Encoding encoding = Encoding::SJIS;
    std::size_t swapped = 0;  // two-byte codes whose byte groups were swapped
};

enum class SwapFailure {
    EmptyFile,
    NotExact,  // the file's bytes do not come back exactly from its decoded text
};

// The table file with each two-byte code (three or four digits) written with its two byte
// groups swapped, 82A0 becoming A082: a table written lead byte first, as charts print codes,
// then converts to the bytes in file order. Everything else (comments, order, line ends,
// encoding, byte-order mark) stays byte for byte. Nothing when that cannot be promised, and
// then why, if asked.
[[nodiscard]] std::optional<SwappedTable> SwapTwoByteCodes(std::span<const std::uint8_t> bytes,
                                                           SwapFailure* why = nullptr);

}  // namespace zelkora
