#pragma once

// A file's bytes as text: its encoding detected, then decoded as the table reader decodes it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/encoding/EncodingRegistry.h"

namespace zelkora {

// Detects the encoding of a table file's bytes and decodes them; the empty text when the
// decoder gives nothing. A leading byte-order mark is dropped for UTF-16LE and UTF-8.
[[nodiscard]] std::u16string DecodeTableBytes(std::span<const std::uint8_t> bytes);

// Decodes the bytes as the named encoding, the way the reader does once it has detected it.
// When substitutions is given, it receives how many undecodable byte sequences became U+FFFD
// (for UTF-16LE, 1 when an odd last byte was dropped).
[[nodiscard]] std::u16string DecodeTableBytesAs(Encoding encoding,
                                                std::span<const std::uint8_t> bytes,
                                                std::size_t* substitutions = nullptr);

}  // namespace zelkora
