#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/encoding/modJudge.h"

namespace zelkora {

// What a table file does that its author may not see. Problems change what the table does;
// notes only inform.
enum class FindingKind {
    EmptyFile,           // the reader keeps the previous table
    NoText,              // decoding gave nothing: the reader keeps the previous table
    NotTextFile,         // the text holds U+0000: the reader refuses the file
    CloseDetection,      // note: another encoding scored nearly as well
    LfOnly,              // note: LF line ends, which this reader cuts at
    MixedLineEnds,       // note: CR LF and lone LF line ends, both of which this reader cuts at
    LoneLineEnd,         // a lone CR the reader does not cut at joins editor lines
    Substituted,         // undecodable bytes became U+FFFD
    ShortLine,           // fewer than 3 characters: ignored
    NoSpace,             // no space: the whole line is a character without a code
    EmptyCodeField,      // begins with a space: an empty code
    NotHexadecimal,      // code read as 0
    TooLarge,            // code does not fit 32 bits: read as 0
    LongCode,            // more than two bytes
    EmptyCharacter,      // the code converts to nothing
    TrimmedSpaces,       // spaces at the ends of the character part are dropped
    NeverMatched,        // several characters: text to codes never finds it
    DuplicateCode,       // note: an earlier line has the code; this character still converts
    DuplicateCharacter,  // note: an earlier line has the character; this code still reads back
    UnusedLine,          // earlier lines have both the code and the character
    ShadowingOneByte,    // a one-byte code read before two-byte codes with its low byte
    MisreadPair,         // note: a one-byte code and the next code's first byte read as a pair
};

[[nodiscard]] bool IsProblem(FindingKind kind);

struct Finding {
    FindingKind kind = FindingKind::EmptyFile;
    std::size_t line = 0;           // as editors count, from 1; 0 for the whole file
    std::size_t lastLine = 0;       // LoneLineEnd: the last editor line joined into this one
    std::size_t otherLine = 0;      // the line that wins, or the first line shadowed or misread
    std::size_t characterLine = 0;  // UnusedLine: the line that wins for the character
    std::size_t count = 0;          // bytes substituted, or two-byte codes shadowed
    std::u16string text;   // the code, character or line concerned; MisreadPair: the example
    std::u16string other;  // what it is read as, or the code shadowed
    Encoding otherEncoding = Encoding::SJIS;  // CloseDetection: the runner-up
};

struct TableCheck {
    Encoding encoding = Encoding::SJIS;
    EncodingScores scores;
    std::size_t substitutions = 0;
    std::vector<Finding> findings;  // whole-file findings first, then in file order
    std::size_t tableLines = 0;     // lines as the reader cuts them (one slot each)
    std::size_t entries = 0;        // lines with a code field
    std::size_t oneByte = 0;
    std::size_t twoByte = 0;
    std::size_t comments = 0;
    std::size_t blank = 0;

    [[nodiscard]] bool ChangesMeaning() const;
};

// Reads a table file's bytes as the reader does and reports what changes their meaning.
[[nodiscard]] TableCheck CheckTable(std::span<const std::uint8_t> bytes);

// The report in UTF-8, one finding a line prefixed "name:line:" as compilers write, then the
// totals; only the totals when quiet.
[[nodiscard]] std::string FormatTableCheck(const TableCheck& check, std::string_view name,
                                           bool quiet);

}  // namespace zelkora
