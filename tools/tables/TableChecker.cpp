#include "tools/tables/TableChecker.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <unordered_map>

#include "core/common/TextLines.h"
#include "core/encoding/DecodeText.h"
#include "core/encoding/Utf8.h"
#include "core/engine/HexCode.h"
#include "core/engine/TextToCode.h"
#include "core/tables/TableReader.h"
#include "tools/common/QuoteText.h"

namespace zelkora {

namespace {

// Two scores this close mean a small edit near the top of the file can flip the detection.
constexpr int kCloseScore = 5;

struct ScoredEncoding {
    Encoding encoding;
    std::int16_t score;
};

// In scoring order, as detection sees them.
std::array<ScoredEncoding, kEncodingCount> ScoreList(const EncodingScores& scores) {
    std::array<ScoredEncoding, kEncodingCount> list{};
    std::ranges::transform(kEncodings, list.begin(), [&](const EncodingInfo& info) {
        return ScoredEncoding{info.encoding, scores[info.encoding]};
    });
    return list;
}

bool IsCertain(const EncodingScores& scores) {
    return std::ranges::any_of(scores.score, [](std::int16_t score) { return score >= kCertain; });
}

class Checker {
public:
    explicit Checker(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    TableCheck Run() {
        if (bytes_.empty()) {
            Add(FindingKind::EmptyFile);
            return std::move(check_);
        }
        check_.encoding = DetectEncoding(bytes_);
        check_.scores = ScoreEncodings(bytes_);
        text_ = DecodeTableBytesAs(check_.encoding, bytes_, &check_.substitutions);
        if (text_.empty()) {
            Add(FindingKind::NoText);
            return std::move(check_);
        }
        if (!IsTableText(text_)) {
            Add(FindingKind::NotTextFile, PositionOf(text_, text_.find(u'\0')).line);
            return std::move(check_);
        }
        CheckDetection();
        if (check_.substitutions > 0) {
            Add(FindingKind::Substituted).count = check_.substitutions;
        }
        CheckLines();
        std::ranges::stable_sort(check_.findings, {}, &Finding::line);
        return std::move(check_);
    }

private:
    Finding& Add(FindingKind kind, std::size_t line = 0) {
        Finding& finding = check_.findings.emplace_back();
        finding.kind = kind;
        finding.line = line;
        return finding;
    }

    void CheckDetection() {
        // A mark or an escape decides for certain, and so does UTF-8 throughout: no edit that
        // keeps the file so changes how it is read.
        if (IsCertain(check_.scores) || check_.scores.utf8Throughout) {
            return;
        }
        // The runner-up that would read the file differently, if it scored nearly as much.
        auto scores = ScoreList(check_.scores);
        std::ranges::stable_sort(scores, std::greater<>(), &ScoredEncoding::score);
        const auto chosen = std::ranges::find(scores, check_.encoding, &ScoredEncoding::encoding);
        for (const ScoredEncoding& other : scores) {
            if (other.encoding == check_.encoding) {
                continue;
            }
            if (chosen->score - other.score > kCloseScore) {
                return;
            }
            if (DecodeTableBytesAs(other.encoding, bytes_) != text_) {
                Add(FindingKind::CloseDetection).otherEncoding = other.encoding;
                return;
            }
        }
    }

    void CheckLines() {
        const std::vector<std::u16string_view> lines = CutTableLines(text_);
        check_.tableLines = lines.size();
        TextWalker editor(text_);
        CheckLineEnds();
        for (const std::u16string_view line : lines) {
            const std::size_t start = static_cast<std::size_t>(line.data() - text_.data());
            const std::size_t first = editor.At(start).line;
            const std::size_t last = editor.At(start + line.size()).line;
            if (last > first) {
                Add(FindingKind::LoneLineEnd, first).lastLine = last;
            }
            if (check_.substitutions > 0) {
                const auto n = static_cast<std::size_t>(std::ranges::count(line, u'\uFFFD'));
                if (n > 0) {
                    Add(FindingKind::Substituted, first).count = n;
                }
            }
            CheckLine(line, first);
        }
        CheckShadowing();
        CheckMisreadPairs();
    }

    // Both kinds end a line here, but a program that cuts only at CR LF joins LF lines.
    void CheckLineEnds() {
        bool crlf = false;
        bool lf = false;
        for (auto at = text_.find(u'\n'); at != std::u16string::npos;
             at = text_.find(u'\n', at + 1)) {
            (at > 0 && text_[at - 1] == u'\r' ? crlf : lf) = true;
        }
        if (lf) {
            Add(crlf ? FindingKind::MixedLineEnds : FindingKind::LfOnly);
        }
    }

    void CheckLine(std::u16string_view line, std::size_t lineNumber) {
        const TableLine read = ClassifyTableLine(line);
        const std::u16string character(read.character);
        switch (read.kind) {
            case LineKind::Blank:
                ++check_.blank;
                return;
            case LineKind::Short:
                Add(FindingKind::ShortLine, lineNumber).text = line;
                return;
            case LineKind::Comment:
                ++check_.comments;
                return;
            case LineKind::CharacterOnly:
                Add(FindingKind::NoSpace, lineNumber).text = character;
                NoteRepeatedCharacter(character, lineNumber);
                return;
            case LineKind::Entry:
                break;
        }
        if (read.code.empty()) {
            Add(FindingKind::EmptyCodeField, lineNumber).text = character;
            NoteRepeatedCharacter(character, lineNumber);
            return;
        }
        const std::u16string code(read.code);
        const bool twoByte = code.size() > 2;
        ++check_.entries;
        ++(twoByte ? check_.twoByte : check_.oneByte);
        const bool readable = CheckCode(code, lineNumber);
        const std::size_t codeLine =
            readable ? NoteCode(code, ReadCodeField(code), twoByte, character, lineNumber) : 0;
        CheckCharacter(read.written, character, lineNumber);
        const std::size_t characterLine = NoteCharacter(character, lineNumber);
        // A second code for a character, or a second character for a code, is how a table lists
        // a charset's alternatives: one direction still uses the line. With both, neither does.
        if (codeLine > 0 && characterLine > 0) {
            Finding& finding = Add(FindingKind::UnusedLine, lineNumber);
            finding.otherLine = codeLine;
            finding.characterLine = characterLine;
            finding.text = code;
            finding.other = character;
        } else if (codeLine > 0) {
            Finding& finding = Add(FindingKind::DuplicateCode, lineNumber);
            finding.otherLine = codeLine;
            finding.text = code;
        } else if (characterLine > 0) {
            Finding& finding = Add(FindingKind::DuplicateCharacter, lineNumber);
            finding.otherLine = characterLine;
            finding.text = character;
        }
    }

    // Whether the code field reads as the number it shows.
    bool CheckCode(const std::u16string& code, std::size_t lineNumber) {
        if (!std::ranges::all_of(code, IsHexDigit)) {
            Add(FindingKind::NotHexadecimal, lineNumber).text = code;
            return false;
        }
        if (!ParseHexCode(code)) {
            Add(FindingKind::TooLarge, lineNumber).text = code;
            return false;
        }
        if (code.size() > 4) {
            Add(FindingKind::LongCode, lineNumber).text = code;
        }
        return true;
    }

    void CheckCharacter(std::u16string_view written, const std::u16string& read,
                        std::size_t lineNumber) {
        if (read.empty()) {
            Add(FindingKind::EmptyCharacter, lineNumber).text = written;
            return;
        }
        if (written != read) {
            Finding& finding = Add(FindingKind::TrimmedSpaces, lineNumber);
            finding.text = written;
            finding.other = read;
        }
        if (read.size() > 1 && read != kLineBreakToken) {
            Add(FindingKind::NeverMatched, lineNumber).text = read;
        }
    }

    // Codes to text takes the first slot whose code matches, one-byte and two-byte codes apart.
    // The line that has the code first, or 0 when this is that line.
    std::size_t NoteCode(const std::u16string& code, std::int32_t value, bool twoByte,
                         const std::u16string& character, std::size_t lineNumber) {
        auto& seen = twoByte ? twoByteCodes_ : oneByteCodes_;
        const auto [it, inserted] = seen.try_emplace(value, FirstCode{lineNumber, code});
        if (!inserted) {
            return it->second.line;
        }
        if (twoByte) {
            twoByteOrder_.push_back({value, lineNumber, code, character});
        }
        return 0;
    }

    // Text to codes looks up one character, or the line-break token, and takes the first slot.
    // The line that has the character first, or 0 when this is that line or it is never looked
    // up.
    std::size_t NoteCharacter(const std::u16string& character, std::size_t lineNumber) {
        if (character.empty() || (character.size() > 1 && character != kLineBreakToken)) {
            return 0;
        }
        const auto [it, inserted] = characterLines_.try_emplace(character, lineNumber);
        return inserted ? 0 : it->second;
    }

    void NoteRepeatedCharacter(const std::u16string& character, std::size_t lineNumber) {
        if (const std::size_t first = NoteCharacter(character, lineNumber); first > 0) {
            Finding& finding = Add(FindingKind::DuplicateCharacter, lineNumber);
            finding.otherLine = first;
            finding.text = character;
        }
    }

    // A one-byte code is compared with the low byte of every pair, so a one-byte code above a
    // two-byte code with that low byte takes the pair's first byte and leaves the second alone.
    void CheckShadowing() {
        std::map<std::int32_t, std::size_t> shadowIndex;  // low byte -> its finding
        for (const TwoByteCode& pair : twoByteOrder_) {
            const auto low =
                static_cast<std::int32_t>(static_cast<std::uint32_t>(pair.value) & 0xFF);
            const auto single = oneByteCodes_.find(low);
            if (single == oneByteCodes_.end() || single->second.line > pair.line) {
                continue;
            }
            const auto [it, inserted] = shadowIndex.try_emplace(low, check_.findings.size());
            if (inserted) {
                Finding& finding = Add(FindingKind::ShadowingOneByte, single->second.line);
                finding.text = single->second.code;
                finding.otherLine = pair.line;
                finding.other = pair.code;
            }
            ++check_.findings[it->second].count;
        }
    }

    // Codes to text forms a pair from an element and the one after it, and takes the pair when
    // its two-byte entry comes before the element's one-byte entry. A one-byte code followed by
    // a code that begins with the pair's high byte is then read as that pair: "41 E8 82" (A り)
    // as E841 錢. A table written lead byte first, with its pairs put first, has this; in file
    // order a lead byte is never a one-byte code. One example is enough to show it.
    void CheckMisreadPairs() {
        // A code as codes to text sees it, by the byte it begins with: a pair's low byte comes
        // first in the notation.
        std::array<std::u16string, 256> beginningWith;
        for (const TwoByteCode& pair : twoByteOrder_) {
            auto& notation = beginningWith[static_cast<std::uint32_t>(pair.value) & 0xFF];
            if (notation.empty() && static_cast<std::uint32_t>(pair.value) <= 0xFFFF) {
                notation = fReverseBytes(fEvenDigits(pair.code));
            }
        }
        for (const auto& [value, single] : oneByteCodes_) {
            auto& notation = beginningWith[static_cast<std::uint32_t>(value) & 0xFF];
            if (notation.empty()) {
                notation = fEvenDigits(single.code);
            }
        }
        // The example is the first such pair whose character can be seen, if there is one.
        const TwoByteCode* example = nullptr;
        const FirstCode* single = nullptr;
        for (const TwoByteCode& pair : twoByteOrder_) {
            const auto value = static_cast<std::uint32_t>(pair.value);
            const auto one = oneByteCodes_.find(static_cast<std::int32_t>(value & 0xFF));
            if (value > 0xFFFF || one == oneByteCodes_.end() || one->second.line < pair.line ||
                beginningWith[value >> 8].empty()) {
                continue;
            }
            const bool blank = pair.character == u" " || pair.character == u"\u3000";
            if (example == nullptr || !blank) {
                example = &pair;
                single = &one->second;
            }
            if (!blank) {
                break;
            }
        }
        if (example != nullptr) {
            Finding& finding = Add(FindingKind::MisreadPair);
            finding.otherLine = example->line;
            finding.text = fEvenDigits(single->code) + u" then " +
                           beginningWith[static_cast<std::uint32_t>(example->value) >> 8] +
                           u" reads as " + example->code;
            finding.other = example->character;
        }
    }

    struct FirstCode {
        std::size_t line;
        std::u16string code;
    };
    struct TwoByteCode {
        std::int32_t value;
        std::size_t line;
        std::u16string code;
        std::u16string character;
    };

    std::span<const std::uint8_t> bytes_;
    std::u16string text_;
    TableCheck check_;
    std::unordered_map<std::int32_t, FirstCode> oneByteCodes_;
    std::unordered_map<std::int32_t, FirstCode> twoByteCodes_;
    std::vector<TwoByteCode> twoByteOrder_;
    std::unordered_map<std::u16string, std::size_t> characterLines_;
};

}  // namespace

// A second code for a character is how a table lists a charset's alternative codes, and a second
// character for a code how it lists another spelling of a character: one direction takes the
// first line, the other still uses the second, so nothing is lost.
bool IsProblem(FindingKind kind) {
    return kind != FindingKind::CloseDetection && kind != FindingKind::LfOnly &&
           kind != FindingKind::MixedLineEnds && kind != FindingKind::DuplicateCode &&
           kind != FindingKind::DuplicateCharacter && kind != FindingKind::MisreadPair;
}

bool TableCheck::ChangesMeaning() const {
    return std::ranges::any_of(findings, [](const Finding& f) { return IsProblem(f.kind); });
}

TableCheck CheckTable(std::span<const std::uint8_t> bytes) {
    return Checker(bytes).Run();
}

namespace {

std::string Number(std::size_t n) {
    return std::to_string(n);
}

std::string Counted(std::size_t n, std::string_view noun, std::string_view plural = {}) {
    if (n == 1) {
        return "1 " + std::string(noun);
    }
    return Number(n) + " " + (plural.empty() ? std::string(noun) + "s" : std::string(plural));
}

std::string ScoresText(const EncodingScores& scores) {
    std::string out;
    for (const ScoredEncoding& s : ScoreList(scores)) {
        out += out.empty() ? "" : ", ";
        out += std::string(EncodingName(s.encoding)) + " " +
               (s.score >= kCertain ? std::string("certain") : std::to_string(s.score));
    }
    // What decided when nothing was certain.
    if (scores.utf8Throughout && !IsCertain(scores)) {
        out += "; UTF-8 throughout";
    }
    return out;
}

std::string Message(const Finding& f, const TableCheck& check) {
    const std::string encoding = EncodingName(check.encoding);
    switch (f.kind) {
        case FindingKind::EmptyFile:
            return "the file is empty: the reader keeps the table it had";
        case FindingKind::NoText:
            return "decoding as " + encoding + " gives no text: the reader keeps the table it had";
        case FindingKind::NotTextFile:
            return "holds U+0000 (NUL): this is not a text file, and the reader refuses it";
        case FindingKind::CloseDetection:
            return "note: read as " + encoding + ", but " + EncodingName(f.otherEncoding) +
                   " scores nearly as much and reads the file differently: an edit " +
                   (check.scores.wholeFile ? "anywhere" : "in the first 1000 bytes") +
                   " can change how it is read";
        case FindingKind::LfOnly:
            return "note: lines end in LF only; this program cuts lines there, programs that "
                   "cut only at CR LF read the whole file as one line";
        case FindingKind::MixedLineEnds:
            return "note: some lines end in CR LF and some in LF only; this program cuts lines "
                   "at both, programs that cut only at CR LF join each LF line to the next";
        case FindingKind::LoneLineEnd:
            return "lines " + Number(f.line) + "-" + Number(f.lastLine) +
                   " are read as one line: a lone CR ends no line";
        case FindingKind::Substituted:
            if (f.line > 0) {
                return "holds " + Counted(f.count, "undecodable byte sequence") + " (U+FFFD)";
            }
            // UTF-16 has no substitutes: an odd last byte is simply dropped.
            if (check.encoding == Encoding::Unicode) {
                return "the file has an odd number of bytes: its last byte is dropped";
            }
            return Counted(f.count, "byte sequence") + " cannot be decoded as " + encoding +
                   "; each reads as U+FFFD";
        case FindingKind::ShortLine:
            return QuoteText(f.text) + " is ignored: a line needs at least 3 characters";
        case FindingKind::NoSpace:
            return "no space after the code: the line is read as the character " +
                   QuoteText(f.text) + " with no code";
        case FindingKind::EmptyCodeField:
            return "the line begins with a space, so its code is empty: text to codes writes "
                   "nothing for " +
                   QuoteText(f.text);
        case FindingKind::NotHexadecimal:
            return "code " + QuoteText(f.text) + " is not hexadecimal: codes to text reads it as 0";
        case FindingKind::TooLarge:
            return "code " + QuoteText(f.text) +
                   " does not fit 32 bits: codes to text reads it as 0";
        case FindingKind::LongCode:
            return "code " + QuoteText(f.text) +
                   " has more than four digits: text to codes writes "
                   "more than two bytes, codes to text reads at most two";
        case FindingKind::EmptyCharacter:
            return "the character " + QuoteText(f.text) +
                   " is empty once trimmed: the code "
                   "converts to nothing (to map the space, write exactly one space after the "
                   "code)";
        case FindingKind::TrimmedSpaces:
            return "the character " + QuoteText(f.text) +
                   " loses its outer spaces and is read as " + QuoteText(f.other);
        case FindingKind::NeverMatched:
            return QuoteText(f.text) +
                   " is several characters: text to codes never matches it "
                   "(codes to text writes it whole)";
        case FindingKind::DuplicateCode:
            return "note: code " + QuoteText(f.text) + " is also on line " + Number(f.otherLine) +
                   ", which comes first and wins in codes to text (text to codes gives the code "
                   "for this line's character too)";
        case FindingKind::UnusedLine:
            return "code " + QuoteText(f.text) + " is also on line " + Number(f.otherLine) +
                   " and the character " + QuoteText(f.other) + " on line " +
                   Number(f.characterLine) +
                   ": those lines win, and neither conversion uses this one";
        case FindingKind::DuplicateCharacter:
            return "note: the character " + QuoteText(f.text) + " is also on line " +
                   Number(f.otherLine) +
                   ", which comes first and wins in text to codes (codes to text reads both)";
        case FindingKind::ShadowingOneByte:
            return "one-byte code " + QuoteText(f.text) + " comes before " +
                   Counted(f.count, "two-byte code") + " with that low byte (first " +
                   QuoteText(f.other) + " on line " + Number(f.otherLine) +
                   "): codes to text takes their low byte for this code "
                   "and never gives their characters; put the two-byte codes first, or, if they "
                   "are written lead byte first as charts print them (82A0), write them in file "
                   "order with zelkora-cli swap-codes";
        case FindingKind::MisreadPair:
            return "note: codes to text can read a one-byte code and the first byte of the code "
                   "after it as one two-byte code: " +
                   Utf16ToUtf8(f.text) + " " + QuoteText(f.other) + " (line " +
                   Number(f.otherLine) +
                   "). If the two-byte codes are written lead byte first, as charts print them "
                   "(82A0), zelkora-cli swap-codes writes them in file order (A082), which codes "
                   "to text reads without this";
    }
    return {};
}

}  // namespace

std::string FormatTableCheck(const TableCheck& check, std::string_view name, bool quiet) {
    const std::string file(name);
    std::string out;
    std::size_t problems = 0;
    std::size_t notes = 0;
    for (const Finding& f : check.findings) {
        ++(IsProblem(f.kind) ? problems : notes);
    }
    if (!quiet) {
        if (check.tableLines > 0) {
            out += file + ": encoding " + EncodingName(check.encoding) + " (" +
                   ScoresText(check.scores) + ")\n";
        }
        for (const Finding& f : check.findings) {
            out += file + ":" + (f.line > 0 ? Number(f.line) + ":" : "") + " " + Message(f, check) +
                   "\n";
        }
    }
    out += file + ": " + Counted(check.tableLines, "line") + ", " +
           Counted(check.entries, "entry", "entries") + " (" + Number(check.oneByte) +
           " one-byte, " + Number(check.twoByte) + " two-byte), " +
           Counted(check.comments, "comment") + ", " + Number(check.blank) + " blank; " +
           Counted(problems, "problem") + ", " + Counted(notes, "note") + "\n";
    return out;
}

}  // namespace zelkora
