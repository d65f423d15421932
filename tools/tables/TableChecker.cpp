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

// The lines are read twice, so that findings come out in file order without being kept: first
// for the first line of each code, which the whole-file findings and shadowing need, then for the
// findings of each line, with the shadowing of a one-byte code after the rest of its line.
class Checker {
public:
    Checker(std::span<const std::uint8_t> bytes, const FindingSink* take)
        : bytes_(bytes), take_(take) {}

    TableCheck Run() {
        if (bytes_.empty()) {
            Emit(Make(FindingKind::EmptyFile));
            return std::move(check_);
        }
        check_.encoding = DetectEncoding(bytes_);
        check_.scores = ScoreEncodings(bytes_);
        text_ = DecodeTableBytesAs(check_.encoding, bytes_, &check_.substitutions);
        if (text_.empty()) {
            Emit(Make(FindingKind::NoText));
            return std::move(check_);
        }
        if (!IsTableText(text_)) {
            Emit(Make(FindingKind::NotTextFile, PositionOf(text_, text_.find(u'\0')).line));
            return std::move(check_);
        }
        NoteFirstCodes();
        CheckDetection();
        if (check_.substitutions > 0) {
            Finding finding = Make(FindingKind::Substituted);
            finding.count = check_.substitutions;
            Emit(std::move(finding));
        }
        CheckLineEnds();
        CheckMisreadPairs();
        FindShadowing();
        CheckLines();
        return std::move(check_);
    }

private:
    static Finding Make(FindingKind kind, std::size_t line = 0) {
        Finding finding;
        finding.kind = kind;
        finding.line = line;
        return finding;
    }

    void Emit(Finding finding) {
        ++(IsProblem(finding.kind) ? check_.problems : check_.notes);
        if (take_ != nullptr) {
            (*take_)(check_, finding);
        } else {
            check_.findings.push_back(std::move(finding));
        }
    }

    // Calls take(line, first, last) for each line as the reader cuts them, with the first and
    // last line an editor shows of it.
    template <typename Take>
    void ForEachLine(Take take) const {
        TextWalker editor(text_);
        ForEachTableLine(text_, [&](std::u16string_view line) {
            const auto start = static_cast<std::size_t>(line.data() - text_.data());
            const std::size_t first = editor.At(start).line;
            take(line, first, editor.At(start + line.size()).line);
        });
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
                Finding finding = Make(FindingKind::CloseDetection);
                finding.otherEncoding = other.encoding;
                Emit(std::move(finding));
                return;
            }
        }
    }

    // Codes to text takes the first slot whose code matches, one-byte and two-byte codes apart.
    void NoteFirstCodes() {
        ForEachLine([&](std::u16string_view line, std::size_t lineNumber, std::size_t) {
            ++check_.tableLines;
            const TableLine read = ClassifyTableLine(line);
            if (read.kind != LineKind::Entry || !IsReadable(read.code)) {
                return;
            }
            const std::int32_t value = ReadCodeField(read.code);
            if (read.code.size() <= 2) {
                FirstCode& first = oneByteCodes_[static_cast<std::size_t>(value)];
                if (first.line == 0) {
                    first = {lineNumber, read.code};
                }
            } else if (twoByteLines_.try_emplace(value, lineNumber).second) {
                twoByteOrder_.push_back({value, lineNumber, read.code, read.character});
            }
        });
    }

    void CheckLines() {
        auto shadowing = shadowing_.begin();
        ForEachLine([&](std::u16string_view line, std::size_t first, std::size_t last) {
            if (last > first) {
                Finding finding = Make(FindingKind::LoneLineEnd, first);
                finding.lastLine = last;
                Emit(std::move(finding));
            }
            if (check_.substitutions > 0) {
                const auto n = static_cast<std::size_t>(std::ranges::count(line, u'\uFFFD'));
                if (n > 0) {
                    Finding finding = Make(FindingKind::Substituted, first);
                    finding.count = n;
                    Emit(std::move(finding));
                }
            }
            CheckLine(line, first);
            for (; shadowing != shadowing_.end() && shadowing->first <= first; ++shadowing) {
                Emit(std::move(shadowing->second));
            }
        });
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
            Emit(Make(crlf ? FindingKind::MixedLineEnds : FindingKind::LfOnly));
        }
    }

    void CheckLine(std::u16string_view line, std::size_t lineNumber) {
        const TableLine read = ClassifyTableLine(line);
        const std::u16string_view character = read.character;
        switch (read.kind) {
            case LineKind::Blank:
                ++check_.blank;
                return;
            case LineKind::Short:
                EmitText(FindingKind::ShortLine, lineNumber, line);
                return;
            case LineKind::Comment:
                ++check_.comments;
                return;
            case LineKind::CharacterOnly:
                EmitText(FindingKind::NoSpace, lineNumber, character);
                NoteRepeatedCharacter(character, lineNumber);
                return;
            case LineKind::Entry:
                break;
        }
        const std::u16string_view code = read.code;
        if (code.empty()) {
            EmitText(FindingKind::EmptyCodeField, lineNumber, character);
            NoteRepeatedCharacter(character, lineNumber);
            return;
        }
        const bool twoByte = code.size() > 2;
        ++check_.entries;
        ++(twoByte ? check_.twoByte : check_.oneByte);
        const bool readable = CheckCode(code, lineNumber);
        const std::size_t codeLine =
            readable ? EarlierCodeLine(ReadCodeField(code), twoByte, lineNumber) : 0;
        CheckCharacter(read.written, character, lineNumber);
        const std::size_t characterLine = NoteCharacter(character, lineNumber);
        // A second code for a character, or a second character for a code, is how a table lists
        // a charset's alternatives: one direction still uses the line. With both, neither does.
        if (codeLine > 0 && characterLine > 0) {
            Finding finding = Make(FindingKind::UnusedLine, lineNumber);
            finding.otherLine = codeLine;
            finding.characterLine = characterLine;
            finding.text = code;
            finding.other = character;
            Emit(std::move(finding));
        } else if (codeLine > 0) {
            Finding finding = Make(FindingKind::DuplicateCode, lineNumber);
            finding.otherLine = codeLine;
            finding.text = code;
            Emit(std::move(finding));
        } else if (characterLine > 0) {
            Finding finding = Make(FindingKind::DuplicateCharacter, lineNumber);
            finding.otherLine = characterLine;
            finding.text = character;
            Emit(std::move(finding));
        }
    }

    void EmitText(FindingKind kind, std::size_t lineNumber, std::u16string_view text) {
        Finding finding = Make(kind, lineNumber);
        finding.text = text;
        Emit(std::move(finding));
    }

    // Whether the code field reads as the number it shows.
    static bool IsReadable(std::u16string_view code) {
        return !code.empty() && std::ranges::all_of(code, IsHexDigit) && ParseHexCode(code);
    }

    bool CheckCode(std::u16string_view code, std::size_t lineNumber) {
        if (!std::ranges::all_of(code, IsHexDigit)) {
            EmitText(FindingKind::NotHexadecimal, lineNumber, code);
            return false;
        }
        if (!ParseHexCode(code)) {
            EmitText(FindingKind::TooLarge, lineNumber, code);
            return false;
        }
        if (code.size() > 4) {
            EmitText(FindingKind::LongCode, lineNumber, code);
        }
        return true;
    }

    void CheckCharacter(std::u16string_view written, std::u16string_view read,
                        std::size_t lineNumber) {
        if (read.empty()) {
            EmitText(FindingKind::EmptyCharacter, lineNumber, written);
            return;
        }
        if (written != read) {
            Finding finding = Make(FindingKind::TrimmedSpaces, lineNumber);
            finding.text = written;
            finding.other = read;
            Emit(std::move(finding));
        }
        if (read.size() > 1 && read != kLineBreakToken) {
            EmitText(FindingKind::NeverMatched, lineNumber, read);
        }
    }

    // The line that has the code first, or 0 when this is that line.
    std::size_t EarlierCodeLine(std::int32_t value, bool twoByte, std::size_t lineNumber) const {
        const std::size_t first = twoByte ? twoByteLines_.find(value)->second
                                          : oneByteCodes_[static_cast<std::size_t>(value)].line;
        return first < lineNumber ? first : 0;
    }

    // Text to codes looks up one character, or the line-break token, and takes the first slot.
    // The line that has the character first, or 0 when this is that line or it is never looked
    // up.
    std::size_t NoteCharacter(std::u16string_view character, std::size_t lineNumber) {
        std::size_t* first = nullptr;
        if (character.size() == 1) {
            first = &characterLines_[character.front()];
        } else if (character == kLineBreakToken) {
            first = &lineBreakTokenLine_;
        } else {
            return 0;
        }
        if (*first == 0) {
            *first = lineNumber;
            return 0;
        }
        return *first;
    }

    void NoteRepeatedCharacter(std::u16string_view character, std::size_t lineNumber) {
        if (const std::size_t first = NoteCharacter(character, lineNumber); first > 0) {
            Finding finding = Make(FindingKind::DuplicateCharacter, lineNumber);
            finding.otherLine = first;
            finding.text = character;
            Emit(std::move(finding));
        }
    }

    // A one-byte code is compared with the low byte of every pair, so a one-byte code above a
    // two-byte code with that low byte takes the pair's first byte and leaves the second alone.
    // Kept by the one-byte code's line, to be reported with it.
    void FindShadowing() {
        for (const TwoByteCode& pair : twoByteOrder_) {
            const FirstCode& single = oneByteCodes_[static_cast<std::uint32_t>(pair.value) & 0xFF];
            if (single.line == 0 || single.line > pair.line) {
                continue;
            }
            const auto [it, inserted] = shadowing_.try_emplace(single.line);
            if (inserted) {
                it->second = Make(FindingKind::ShadowingOneByte, single.line);
                it->second.text = single.code;
                it->second.otherLine = pair.line;
                it->second.other = pair.code;
            }
            ++it->second.count;
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
        for (std::size_t value = 0; value < oneByteCodes_.size(); ++value) {
            if (oneByteCodes_[value].line > 0 && beginningWith[value].empty()) {
                beginningWith[value] = fEvenDigits(oneByteCodes_[value].code);
            }
        }
        // The example is the first such pair whose character can be seen, if there is one.
        const TwoByteCode* example = nullptr;
        const FirstCode* single = nullptr;
        for (const TwoByteCode& pair : twoByteOrder_) {
            const auto value = static_cast<std::uint32_t>(pair.value);
            const FirstCode& one = oneByteCodes_[value & 0xFF];
            if (value > 0xFFFF || one.line == 0 || one.line < pair.line ||
                beginningWith[value >> 8].empty()) {
                continue;
            }
            const bool blank = pair.character == u" " || pair.character == u"\u3000";
            if (example == nullptr || !blank) {
                example = &pair;
                single = &one;
            }
            if (!blank) {
                break;
            }
        }
        if (example != nullptr) {
            Finding finding = Make(FindingKind::MisreadPair);
            finding.otherLine = example->line;
            finding.text = fEvenDigits(single->code) + u" then " +
                           beginningWith[static_cast<std::uint32_t>(example->value) >> 8] +
                           u" reads as " + std::u16string(example->code);
            finding.other = example->character;
            Emit(std::move(finding));
        }
    }

    // Views into text_.
    struct FirstCode {
        std::size_t line = 0;  // 0: no line has the code
        std::u16string_view code;
    };
    struct TwoByteCode {
        std::int32_t value;
        std::size_t line;
        std::u16string_view code;
        std::u16string_view character;
    };

    std::span<const std::uint8_t> bytes_;
    const FindingSink* take_;
    std::u16string text_;
    TableCheck check_;
    std::array<FirstCode, 256> oneByteCodes_{};                   // by value
    std::unordered_map<std::int32_t, std::size_t> twoByteLines_;  // value -> its first line
    std::vector<TwoByteCode> twoByteOrder_;     // the first line of each, in order
    std::map<std::size_t, Finding> shadowing_;  // by the one-byte code's line
    std::vector<std::size_t> characterLines_ = std::vector<std::size_t>(0x10000);  // first lines
    std::size_t lineBreakTokenLine_ = 0;
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

TableCheck CheckTable(std::span<const std::uint8_t> bytes) {
    return Checker(bytes, nullptr).Run();
}

TableCheck CheckTable(std::span<const std::uint8_t> bytes, const FindingSink& take) {
    return Checker(bytes, &take).Run();
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

namespace {

// Writes the report as the findings come, the encoding before the first of them, and the totals
// at the end.
class ReportWriter {
public:
    ReportWriter(std::string_view name, bool quiet,
                 const std::function<void(std::string_view)>& write)
        : file_(name), quiet_(quiet), write_(write) {}

    void Take(const TableCheck& check, const Finding& f) {
        if (quiet_) {
            return;
        }
        Head(check);
        write_(file_ + ":" + (f.line > 0 ? Number(f.line) + ":" : "") + " " + Message(f, check) +
               "\n");
    }

    void End(const TableCheck& check) {
        if (!quiet_) {
            Head(check);
        }
        write_(file_ + ": " + Counted(check.tableLines, "line") + ", " +
               Counted(check.entries, "entry", "entries") + " (" + Number(check.oneByte) +
               " one-byte, " + Number(check.twoByte) + " two-byte), " +
               Counted(check.comments, "comment") + ", " + Number(check.blank) + " blank; " +
               Counted(check.problems, "problem") + ", " + Counted(check.notes, "note") + "\n");
    }

private:
    // Only a file that gives lines has an encoding to report.
    void Head(const TableCheck& check) {
        if (!headed_ && check.tableLines > 0) {
            write_(file_ + ": encoding " + EncodingName(check.encoding) + " (" +
                   ScoresText(check.scores) + ")\n");
            headed_ = true;
        }
    }

    std::string file_;
    bool quiet_;
    const std::function<void(std::string_view)>& write_;
    bool headed_ = false;
};

}  // namespace

std::string FormatTableCheck(const TableCheck& check, std::string_view name, bool quiet) {
    std::string out;
    const std::function<void(std::string_view)> append = [&](std::string_view piece) {
        out += piece;
    };
    ReportWriter report(name, quiet, append);
    for (const Finding& f : check.findings) {
        report.Take(check, f);
    }
    report.End(check);
    return out;
}

TableCheck WriteTableCheck(std::span<const std::uint8_t> bytes, std::string_view name, bool quiet,
                           const std::function<void(std::string_view)>& write) {
    ReportWriter report(name, quiet, write);
    const FindingSink take = [&](const TableCheck& check, const Finding& f) {
        report.Take(check, f);
    };
    TableCheck check = CheckTable(bytes, take);
    report.End(check);
    return check;
}

}  // namespace zelkora
