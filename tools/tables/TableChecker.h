#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
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
    std::size_t problems = 0;  // findings that change what the table does
    std::size_t notes = 0;     // findings that only inform

    [[nodiscard]] bool ChangesMeaning() const { return problems > 0; }
};

// Reads a table file's bytes as the reader does and reports what changes their meaning.
[[nodiscard]] TableCheck CheckTable(std::span<const std::uint8_t> bytes);

// Takes each finding as it is made, in the order of TableCheck::findings, with the check as it
// stands then: its encoding, scores and tableLines are set before the first finding.
using FindingSink = std::function<void(const TableCheck& check, const Finding& finding)>;

// The same check, giving each finding to `take` instead of keeping it (the result's findings stay
// empty): a table of millions of lines can have as many findings.
[[nodiscard]] TableCheck CheckTable(std::span<const std::uint8_t> bytes, const FindingSink& take);

// The report in UTF-8, one finding a line prefixed "name:line:" as compilers write, then the
// totals; only the totals when quiet.
[[nodiscard]] std::string FormatTableCheck(const TableCheck& check, std::string_view name,
                                           bool quiet);

// Checks the bytes and gives the same report to `write` a piece at a time while the check runs,
// so that neither the findings nor the report are held whole. The check, without its findings.
[[nodiscard]] TableCheck WriteTableCheck(std::span<const std::uint8_t> bytes, std::string_view name,
                                         bool quiet,
                                         const std::function<void(std::string_view)>& write);

}  // namespace zelkora
