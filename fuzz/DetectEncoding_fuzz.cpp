// Detection over any bytes: every scorer stays in its range, and the detected encoding is the
// one the six full scores point to (first certainty in scoring order, else UTF-8 when the bytes
// are UTF-8 throughout, else the best score with its tie-break).
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

#include "encoding/modJudge.h"
#include "fuzz/FuzzInput.h"

namespace {

using zelkora::Encoding;
using zelkora::kCertain;

bool InRange(std::int16_t score, std::int16_t top) {
    return score == kCertain || (score >= 0 && score <= top);
}

Encoding Expected(const zelkora::EncodingScores& s) {
    const std::pair<Encoding, std::int16_t> scoringOrder[] = {
        {Encoding::JIS, s.jis},   {Encoding::Unicode, s.unicode}, {Encoding::UTF8, s.utf8},
        {Encoding::UTF7, s.utf7}, {Encoding::SJIS, s.sjis},       {Encoding::EUC, s.euc}};
    for (const auto& [encoding, score] : scoringOrder) {
        if (score >= kCertain) {
            return encoding;
        }
    }
    if (s.utf8Throughout) {
        return Encoding::UTF8;
    }
    const std::pair<Encoding, std::int16_t> tieBreakOrder[] = {
        {Encoding::SJIS, s.sjis}, {Encoding::Unicode, s.unicode}, {Encoding::JIS, s.jis},
        {Encoding::UTF7, s.utf7}, {Encoding::UTF8, s.utf8},       {Encoding::EUC, s.euc}};
    auto best = tieBreakOrder[0];
    for (const auto& candidate : tieBreakOrder) {
        if (candidate.second > best.second) {
            best = candidate;
        }
    }
    return best.first;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zelkora::fuzz::Require;
    const std::span<const std::uint8_t> bytes(data, size);
    const Encoding detected = zelkora::DetectEncoding(bytes);
    Require(zelkora::EncodingName(detected) != nullptr);
    if (bytes.empty()) {
        return 0;
    }
    const zelkora::EncodingScores s = zelkora::ScoreEncodings(bytes);
    Require(InRange(s.jis, 100) && InRange(s.unicode, 50) && InRange(s.utf8, 100));
    Require(s.utf7 >= 0 && s.utf7 <= 100 && s.sjis >= 0 && s.sjis <= 100);
    Require(s.euc >= 0 && s.euc <= 100);
    Require(detected == Expected(s));
    return 0;
}
