#pragma once

// The scorers behind DetectEncoding. Private to encoding/ (and its tests): callers outside the
// folder ask DetectEncoding or ScoreEncodings.

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/encoding/modJudge.h"

namespace zelkora {

// The last index the scorers examine: 999, so the first 1000 bytes decide, unless those bytes
// are plain ASCII and the file goes on. A comment header and ASCII entries look the same in
// every encoding but UTF-16, so such a head decides nothing and the whole file is examined.
// One pass over at most 1000 bytes. 0 for an empty input.
[[nodiscard]] std::size_t LastExamined(std::span<const std::uint8_t> bytes);

// Each scorer walks indices 0..last once; look-ahead past `last` is bounded by the end of
// `bytes` only, so a unit that starts inside the examined span is judged whole. An empty input
// scores 0, and `last` beyond the end is taken as the last byte.
using Scorer = std::int16_t (*)(std::span<const std::uint8_t> bytes, std::size_t last);

[[nodiscard]] std::int16_t ScoreJIS(std::span<const std::uint8_t> bytes, std::size_t last);
[[nodiscard]] std::int16_t ScoreUnicode(std::span<const std::uint8_t> bytes, std::size_t last);
[[nodiscard]] std::int16_t ScoreUTF8(std::span<const std::uint8_t> bytes, std::size_t last);
[[nodiscard]] std::int16_t ScoreUTF7(std::span<const std::uint8_t> bytes, std::size_t last);
[[nodiscard]] std::int16_t ScoreSJIS(std::span<const std::uint8_t> bytes, std::size_t last);
[[nodiscard]] std::int16_t ScoreEUC(std::span<const std::uint8_t> bytes, std::size_t last);

// points * 100 / (2 * last + 2), rounded to the nearest integer, halves to the even neighbour.
[[nodiscard]] std::int16_t ScoreFromPoints(std::uint32_t points, std::size_t last);

}  // namespace zelkora
