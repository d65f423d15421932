// Detection over any bytes: every scorer stays in its range, and the detected encoding is the
// one the six full scores point to (first certainty in scoring order, else UTF-8 when the bytes
// are UTF-8 throughout, else the best score with its tie-break).
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/encoding/modJudge.h"
#include "fuzz/FuzzInput.h"

namespace {

using zelkora::Encoding;
using zelkora::EncodingInfo;
using zelkora::kCertain;
using zelkora::kEncodings;

// Only an escape sequence or a byte-order mark is certain, and UTF-16 halves even a perfect fit.
bool InRange(Encoding encoding, std::int16_t score) {
    if (score == kCertain) {
        return encoding == Encoding::JIS || encoding == Encoding::Unicode ||
               encoding == Encoding::UTF8;
    }
    return score >= 0 && score <= (encoding == Encoding::Unicode ? 50 : 100);
}

Encoding Expected(const zelkora::EncodingScores& s) {
    for (const EncodingInfo& info : kEncodings) {
        if (s[info.encoding] >= kCertain) {
            return info.encoding;
        }
    }
    if (s.utf8Throughout) {
        return Encoding::UTF8;
    }
    const EncodingInfo* best = &kEncodings[0];
    for (const EncodingInfo& info : kEncodings) {
        const bool tie = s[info.encoding] == s[best->encoding];
        if (s[info.encoding] > s[best->encoding] || (tie && info.tieBreak < best->tieBreak)) {
            best = &info;
        }
    }
    return best->encoding;
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
    for (const EncodingInfo& info : kEncodings) {
        Require(InRange(info.encoding, s[info.encoding]));
    }
    Require(detected == Expected(s));
    return 0;
}
