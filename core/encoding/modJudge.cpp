#include "core/encoding/modJudge.h"

#include "core/encoding/EncodingRegistry.h"
#include "core/encoding/Utf8.h"
#include "core/encoding/modJudgeScorers.h"

namespace zelkora {

namespace {

// Each encoding's scorer, in the order of the enumeration.
constexpr std::array<Scorer, kEncodingCount> kScorers{ScoreJIS,  ScoreUnicode, ScoreUTF8,
                                                      ScoreUTF7, ScoreSJIS,    ScoreEUC};

Scorer ScorerOf(Encoding encoding) {
    return kScorers[static_cast<std::size_t>(encoding)];
}

// Scores cannot tell UTF-8 from Shift_JIS: Japanese UTF-8 earns as many points a byte, and a few
// characters among a page of ASCII comments round to the same score, which the tie-break gives
// to Shift_JIS. But Shift_JIS and EUC-JP text is almost never valid UTF-8, so a file that is
// valid UTF-8 to its last byte is taken for UTF-8. Pure ASCII, which UTF-16 without a mark and
// UTF-7 can be too, is left to the scores.
bool IsUtf8Throughout(std::span<const std::uint8_t> bytes) {
    return IsUtf8BeyondAscii({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

}  // namespace

// The encodings are scored in the order of kEncodings, so the first certainty wins; equal best
// scores go to the lowest tie-break.
Encoding DetectEncoding(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return Encoding::SJIS;
    }
    const std::size_t last = LastExamined(bytes);
    const EncodingInfo* best = nullptr;
    std::int16_t bestScore = 0;
    for (const EncodingInfo& info : kEncodings) {
        const std::int16_t score = ScorerOf(info.encoding)(bytes, last);
        if (score >= kCertain) {
            return info.encoding;
        }
        if (best == nullptr || score > bestScore ||
            (score == bestScore && info.tieBreak < best->tieBreak)) {
            best = &info;
            bestScore = score;
        }
    }
    // Asked only when it can change the answer: a large UTF-8 table that already scores best as
    // UTF-8 is not read twice over.
    return best->encoding != Encoding::UTF8 && IsUtf8Throughout(bytes) ? Encoding::UTF8
                                                                       : best->encoding;
}

EncodingScores ScoreEncodings(std::span<const std::uint8_t> bytes) {
    EncodingScores scores;
    if (bytes.empty()) {
        return scores;
    }
    const std::size_t last = LastExamined(bytes);
    for (const EncodingInfo& info : kEncodings) {
        scores.score[static_cast<std::size_t>(info.encoding)] =
            ScorerOf(info.encoding)(bytes, last);
    }
    scores.wholeFile = last == bytes.size() - 1;
    scores.utf8Throughout = IsUtf8Throughout(bytes);
    return scores;
}

}  // namespace zelkora
