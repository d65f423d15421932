#include "encoding/modJudge.h"

#include "encoding/EncodingRegistry.h"
#include "encoding/Utf8.h"
#include "encoding/modJudgeScorers.h"

namespace zelkora {

namespace {

struct NamedScorer {
    Encoding encoding;
    Scorer score;
};

// The order the scorers run in: the first certainty wins, so an escape sequence outranks a
// UTF-16 byte-order mark, which outranks a UTF-8 one.
constexpr NamedScorer kScoringOrder[] = {
    {Encoding::JIS, ScoreJIS},   {Encoding::Unicode, ScoreUnicode}, {Encoding::UTF8, ScoreUTF8},
    {Encoding::UTF7, ScoreUTF7}, {Encoding::SJIS, ScoreSJIS},       {Encoding::EUC, ScoreEUC},
};

// Equal scores go to the encoding that comes first here.
constexpr Encoding kTieBreakOrder[] = {Encoding::SJIS, Encoding::Unicode, Encoding::JIS,
                                       Encoding::UTF7, Encoding::UTF8,    Encoding::EUC};

constexpr std::size_t Index(Encoding encoding) {
    return static_cast<std::size_t>(encoding);
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

// Detection never names anything but the six; a stray value reads as the default.
const char* EncodingName(Encoding encoding) {
    const EncodingInfo* info = FindEncoding(encoding);
    return info != nullptr ? info->detectionName : "SJIS";
}

Encoding DetectEncoding(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return Encoding::SJIS;
    }
    const std::size_t last = LastExamined(bytes);
    std::int16_t scores[std::size(kScoringOrder)] = {};
    for (const NamedScorer& scorer : kScoringOrder) {
        const std::int16_t score = scorer.score(bytes, last);
        if (score >= kCertain) {
            return scorer.encoding;
        }
        scores[Index(scorer.encoding)] = score;
    }
    Encoding best = kTieBreakOrder[0];
    for (const Encoding encoding : kTieBreakOrder) {
        if (scores[Index(encoding)] > scores[Index(best)]) {
            best = encoding;
        }
    }
    // Asked only when it can change the answer: a large UTF-8 table that already scores best as
    // UTF-8 is not read twice over.
    return best != Encoding::UTF8 && IsUtf8Throughout(bytes) ? Encoding::UTF8 : best;
}

EncodingScores ScoreEncodings(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return {};
    }
    const std::size_t last = LastExamined(bytes);
    return {.jis = ScoreJIS(bytes, last),
            .unicode = ScoreUnicode(bytes, last),
            .utf8 = ScoreUTF8(bytes, last),
            .utf7 = ScoreUTF7(bytes, last),
            .sjis = ScoreSJIS(bytes, last),
            .euc = ScoreEUC(bytes, last),
            .wholeFile = last == bytes.size() - 1,
            .utf8Throughout = IsUtf8Throughout(bytes)};
}

}  // namespace zelkora
