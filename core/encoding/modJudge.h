#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "core/encoding/EncodingRegistry.h"

namespace zelkora {

// Names the encoding of a whole file's bytes. A byte-order mark or an ISO-2022-JP escape decides
// first; else a file that is UTF-8 throughout, with at least one character beyond ASCII, is
// UTF8; else the scores of its first 1000 bytes decide, or of all of them when those 1000 are
// plain ASCII. An empty input is named SJIS (the reader never asks: it stops at an empty file).
[[nodiscard]] Encoding DetectEncoding(std::span<const std::uint8_t> bytes);

// A score that ends the detection at once: a byte-order mark or an escape sequence leaves no
// doubt. Ordinary scores stay within 0..100.
inline constexpr std::int16_t kCertain = 9999;

// The six scores behind a detection, each run to completion, kCertain where certain. For
// reports; DetectEncoding stops earlier.
struct EncodingScores {
    std::array<std::int16_t, kEncodingCount> score{};  // indexed by Encoding
    bool wholeFile = false;  // every byte was examined, not only the first 1000
    // Valid UTF-8 from the first byte to the last, with a character beyond ASCII: named UTF8
    // unless a score is certain.
    bool utf8Throughout = false;

    [[nodiscard]] std::int16_t operator[](Encoding encoding) const {
        return score[static_cast<std::size_t>(encoding)];
    }
};
[[nodiscard]] EncodingScores ScoreEncodings(std::span<const std::uint8_t> bytes);

}  // namespace zelkora
