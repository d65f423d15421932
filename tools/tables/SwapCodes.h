#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <system_error>
#include <type_traits>
#include <vector>

#include "core/common/Result.h"
#include "core/encoding/EncodingRegistry.h"

namespace zelkora {

struct SwappedTable {
    std::vector<std::uint8_t> bytes;  // the whole file, rewritten
    Encoding encoding = Encoding::SJIS;
    std::size_t swapped = 0;  // two-byte codes whose byte groups were swapped
};

enum class SwapFailure {
    EmptyFile = 1,
    NotExact,  // the file's bytes do not come back exactly from its decoded text
};
[[nodiscard]] std::error_code make_error_code(SwapFailure failure);

// The table file with each two-byte code (three or four digits) written with its two byte
// groups swapped, 82A0 becoming A082: a table written lead byte first, as charts print codes,
// then converts to the bytes in file order. Everything else (comments, order, line ends,
// encoding, byte-order mark) stays byte for byte. Nothing when that cannot be promised.
[[nodiscard]] Result<SwappedTable> SwapTwoByteCodes(std::span<const std::uint8_t> bytes);

}  // namespace zelkora

template <>
struct std::is_error_code_enum<zelkora::SwapFailure> : std::true_type {};
