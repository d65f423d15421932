#include "core/encoding/modJudgeScorers.h"

#include <algorithm>
#include <array>

#include "core/encoding/Base64Alphabet.h"
#include "core/encoding/EucJp.h"

namespace zelkora {

namespace {

using Bytes = std::span<const std::uint8_t>;
using ByteTable = std::array<std::uint8_t, 256>;

constexpr bool InRange(int b, int low, int high) {
    return b >= low && b <= high;
}

// A scorer's span must lie inside the input, and an empty input has none.
bool ClampSpan(Bytes bytes, std::size_t& last) {
    if (bytes.empty()) {
        return false;
    }
    if (last >= bytes.size()) {
        last = bytes.size() - 1;
    }
    return true;
}

// High bytes of the UTF-16 code units that table files hold: 1 for Latin, kana, punctuation
// and the like (00-33), CJK ideographs (4E-9F), surrogates (D8-DF) and compatibility forms
// (F8-FF); 0 for the blocks that rule UTF-16 out.
constexpr ByteTable kUnicodeHighBytes = [] {
    ByteTable table{};
    for (int b = 0; b < 256; ++b) {
        table[b] = b <= 0x33 || InRange(b, 0x4E, 0x9F) || InRange(b, 0xD8, 0xDF) || b >= 0xF8;
    }
    return table;
}();

// The continuation bytes a UTF-8 lead byte calls for, in the original form of up to six bytes.
constexpr ByteTable kUtf8Continuations = [] {
    ByteTable table{};
    for (int b = 0xC0; b < 256; ++b) {
        table[b] = b >= 0xFC ? 5 : b >= 0xF8 ? 4 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : 1;
    }
    return table;
}();

// Points of a Shift_JIS byte that stands alone: ASCII, controls and half-width katakana.
constexpr ByteTable kSjisSingleBytePoints = [] {
    ByteTable table{};
    for (int b = 0x01; b < 256; ++b) {
        table[b] = b <= 0x7F || InRange(b, 0xA1, 0xDF);
    }
    return table;
}();

constexpr bool IsSjisLead(std::uint8_t b) {
    return InRange(b, 0x81, 0x9F) || InRange(b, 0xE0, 0xEF);
}
constexpr bool IsSjisTrail(std::uint8_t b) {
    return InRange(b, 0x40, 0x7E) || InRange(b, 0x80, 0xFC);
}

}  // namespace

std::size_t LastExamined(Bytes bytes) {
    constexpr std::size_t kHead = 1000;
    if (bytes.size() <= kHead) {
        return bytes.empty() ? 0 : bytes.size() - 1;
    }
    // Plain ASCII here is 01-7F without ESC: a NUL points to UTF-16 and an ESC to ISO-2022-JP,
    // which the head then shows as well as the whole file would. Counted without a branch, so
    // that the loop vectorises.
    std::uint32_t notPlain = 0;
    for (const std::uint8_t b : bytes.first(kHead)) {
        notPlain +=
            static_cast<std::uint32_t>(b - 1u >= 0x7Fu) | static_cast<std::uint32_t>(b == 0x1B);
    }
    return notPlain == 0 ? bytes.size() - 1 : kHead - 1;
}

std::int16_t ScoreFromPoints(std::uint32_t points, std::size_t last) {
    // Exact integer rounding. It agrees with rounding the double quotient: a quotient that is
    // not exactly a half lies at least 1 / (2 * denominator) from one, far more than a double's
    // error for any file that fits in memory.
    const std::uint64_t numerator = std::uint64_t{points} * 100;
    const std::uint64_t denominator = 2 * std::uint64_t{last} + 2;
    std::uint64_t score = numerator / denominator;
    const std::uint64_t twiceRemainder = 2 * (numerator % denominator);
    if (twiceRemainder > denominator || (twiceRemainder == denominator && score % 2 == 1)) {
        ++score;
    }
    return static_cast<std::int16_t>(score);
}

// ISO-2022-JP is 7-bit, so every byte below 0x80 fits it. The escapes ESC ( and ESC $ that
// switch its character sets occur in none of the other five encodings, so one of them settles
// the question; the two bytes after the ESC must exist in the file, not only in the span.
std::int16_t ScoreJIS(Bytes bytes, std::size_t last) {
    if (!ClampSpan(bytes, last)) {
        return 0;
    }
    // Two passes, each a plain loop the compiler turns into vector code: the escapes first, then
    // the points, which an ESC never earns, certain or not.
    const std::uint8_t* const begin = bytes.data();
    const std::uint8_t* const end = begin + last + 1;
    for (auto* esc = std::find(begin, end, 0x1B); esc != end; esc = std::find(esc + 1, end, 0x1B)) {
        const auto i = static_cast<std::size_t>(esc - begin);
        if (i + 2 < bytes.size() && (bytes[i + 1] == '(' || bytes[i + 1] == '$')) {
            return kCertain;
        }
    }
    std::uint32_t points = 0;
    for (auto* b = begin; b != end; ++b) {
        points += static_cast<std::uint32_t>(*b < 0x80) - static_cast<std::uint32_t>(*b == 0x1B);
    }
    return ScoreFromPoints(points, last);
}

// Almost any byte pair is some UTF-16 code unit, so the scorer looks for units outside the
// blocks table files use: one of them rules UTF-16 out. Even a perfect fit is halved, leaving
// UTF-16 the winner only where the byte encodings fit worse, as with ASCII stored as UTF-16LE.
// FF FE at any even offset the scan reaches is taken as the byte-order mark.
std::int16_t ScoreUnicode(Bytes bytes, std::size_t last) {
    if (!ClampSpan(bytes, last)) {
        return 0;
    }
    std::uint32_t points = 0;
    for (std::size_t i = 0; i <= last && i + 1 < bytes.size(); i += 2) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xFE) {
            return kCertain;
        }
        if (kUnicodeHighBytes[bytes[i + 1]] == 0) {
            points = 0;
            break;
        }
        points += 4;
    }
    return static_cast<std::int16_t>(ScoreFromPoints(points, last) / 2);
}

// Rewards each lead byte followed by as many continuation bytes as it calls for, two points a
// byte like the multi-byte units of the other encodings; stray continuation bytes and cut
// sequences earn nothing. EF BB BF at any position the scan visits is a byte-order mark, which
// only UTF-8 text carries.
std::int16_t ScoreUTF8(Bytes bytes, std::size_t last) {
    if (!ClampSpan(bytes, last)) {
        return 0;
    }
    const std::size_t size = bytes.size();
    std::uint32_t points = 0;
    for (std::size_t i = 0; i <= last; ++i) {
        const std::uint8_t b = bytes[i];
        if (b < 0x80) {
            ++points;
            continue;
        }
        if (b == 0xEF && i + 2 < size && bytes[i + 1] == 0xBB && bytes[i + 2] == 0xBF) {
            return kCertain;
        }
        const std::size_t continuations = kUtf8Continuations[b];
        if (continuations == 0 || i + continuations >= size) {
            continue;
        }
        bool complete = true;
        for (std::size_t k = 1; k <= continuations; ++k) {
            complete = complete && InRange(bytes[i + k], 0x80, 0xBF);
        }
        if (complete) {
            points += static_cast<std::uint32_t>(2 * (continuations + 1));
            i += continuations;
        }
    }
    return ScoreFromPoints(points, last);
}

// UTF-7 is 7-bit text with runs of modified base64 between "+" and "-". A closed run earns two
// points a byte, like multi-byte units elsewhere, but only when it holds a whole code unit and
// its last character carries no stray bits, which sets real runs apart from ASCII that merely
// contains "+" and "-". The escaped plus "+-" earns 4.
std::int16_t ScoreUTF7(Bytes bytes, std::size_t last) {
    if (!ClampSpan(bytes, last)) {
        return 0;
    }
    std::uint32_t points = 0;
    bool shifted = false;
    std::uint32_t run = 0;  // 1 for the "+", then one more for each base64 character
    std::uint32_t bitCount = 0;
    std::uint32_t mask = 0;
    for (std::size_t i = 0; i <= last; ++i) {
        const std::uint8_t b = bytes[i];
        if (!shifted) {
            // Outside a run a "-" is an ordinary hyphen, one point like any ASCII byte.
            if (b == '+') {
                shifted = true;
                run = 1;
            } else {
                points += b < 0x80;
            }
        } else if (b == '-') {
            if (run == 1) {
                points += 4;
            } else if (bitCount < 6 && run >= 4 && (kBase64Values[bytes[i - 1]] & mask) == 0) {
                points += 2 * run + 2;
            }
            run = 0;
            shifted = false;
        } else if (IsBase64(b)) {
            bitCount = (6 * run) % 8;
            mask = (1u << bitCount) - 1;
            ++run;
        } else {
            run = 0;
            shifted = false;
        }
    }
    return ScoreFromPoints(points, last);
}

// Shift_JIS pairs a lead byte (81-9F, E0-EF) with a trail byte (40-7E, 80-FC) and keeps single
// bytes for ASCII and half-width katakana. A zero byte counts only at even offsets: ASCII stored
// as UTF-16LE then earns half the points of plain ASCII here and goes to UTF-16.
std::int16_t ScoreSJIS(Bytes bytes, std::size_t last) {
    if (!ClampSpan(bytes, last)) {
        return 0;
    }
    std::uint32_t points = 0;
    for (std::size_t i = 0; i <= last; ++i) {
        const std::uint8_t b = bytes[i];
        if (IsSjisLead(b)) {
            if (i + 1 < bytes.size() && IsSjisTrail(bytes[i + 1])) {
                points += 4;
                ++i;
            }
        } else if (b == 0x00) {
            points += i % 2 == 0;
        } else {
            points += kSjisSingleBytePoints[b];
        }
    }
    return ScoreFromPoints(points, last);
}

// EUC-JP writes JIS X 0208 as pairs of bytes A1-FE, half-width katakana behind the single shift
// 8E and JIS X 0212 behind 8F; ASCII stays single. Any other byte of 80 or above breaks the
// pattern and earns nothing.
std::int16_t ScoreEUC(Bytes bytes, std::size_t last) {
    if (!ClampSpan(bytes, last)) {
        return 0;
    }
    constexpr std::uint32_t kPoints[] = {1, 4, 4, 6, 0};  // in the order of EucUnitKind
    std::uint32_t points = 0;
    for (std::size_t i = 0; i <= last;) {
        const EucUnit unit = EucUnitAt(bytes, i);
        points += kPoints[static_cast<std::size_t>(unit.kind)];
        i += unit.length;
    }
    return ScoreFromPoints(points, last);
}

}  // namespace zelkora
