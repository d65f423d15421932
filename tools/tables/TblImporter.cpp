#include "tools/tables/TblImporter.h"

#include <algorithm>
#include <optional>

#include "core/common/TextLines.h"
#include "core/encoding/DecodeText.h"
#include "core/encoding/EncodingRegistry.h"
#include "core/encoding/modJudge.h"
#include "core/engine/HexCode.h"
#include "core/engine/TextToCode.h"
#include "core/tables/TableReader.h"
#include "tools/common/QuoteText.h"
#include "tools/tables/EntryOrder.h"
#include "tools/tables/TableWriter.h"

namespace zelkora {

namespace {

// These files come from many editors, so a line ends at CR LF, LF or CR alike.
std::vector<std::u16string_view> CutAnyLineEnds(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    for (std::size_t at = 0; at < text.size();) {
        const Line line = LineAt(text, at);
        lines.push_back(line.text);
        at += line.text.size() + line.end.size();
    }
    return lines;
}

struct Code {
    std::u16string digits;  // upper case, as the table writes them
    std::uint32_t value = 0;
};

// An entry and the comments written just above it, which move with it when entries are
// reordered.
struct Group {
    std::vector<std::u16string> comments;
    std::u16string line;
    Code code;
};

class Importer {
public:
    Importer(std::u16string_view sourceName, Encoding encoding, CodeForm form)
        : sourceName_(sourceName), writer_(encoding), form_(form) {}

    ImportedTable Run(std::span<const std::uint8_t> bytes) {
        std::size_t substitutions = 0;
        const std::u16string text =
            bytes.empty() ? std::u16string()
                          : DecodeTableBytesAs(DetectEncoding(bytes), bytes, &substitutions);
        if (substitutions > 0) {
            Add(TblIssueKind::Substituted, 0, {}).count = substitutions;
        }
        const auto lines = CutAnyLineEnds(text);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (substitutions > 0 && lines[i].find(u'\uFFFD') != std::u16string_view::npos) {
                Add(TblIssueKind::Substituted, i + 1, lines[i]).count =
                    static_cast<std::size_t>(std::ranges::count(lines[i], u'\uFFFD'));
            }
            ReadLine(lines[i], i + 1);
        }
        return Finish();
    }

private:
    TblIssue& Add(TblIssueKind kind, std::size_t line, std::u16string_view text) {
        TblIssue& issue = result_.issues.emplace_back();
        issue.kind = kind;
        issue.line = line;
        issue.text = text;
        return issue;
    }

    void ReadLine(std::u16string_view line, std::size_t number) {
        if (TrimTableSpaces(line).empty()) {
            return;
        }
        switch (line.front()) {
            case u'#':
                pendingComments_.push_back(u"//" + std::u16string(line.substr(1)));
                return;
            case u'/':
                Add(TblIssueKind::EndToken, number, line);
                return;
            case u'$':
                Add(TblIssueKind::ControlCode, number, line);
                return;
            case u'@':
            case u'!':
                Add(TblIssueKind::TableSwitch, number, line);
                return;
            case u'*':
                ReadLineBreak(line.substr(1), number);
                return;
            default:
                break;
        }
        const std::size_t equals = line.find(u'=');
        if (equals == std::u16string_view::npos) {
            Add(TblIssueKind::NotAnEntry, number, line);
            return;
        }
        const auto code = ReadCode(line.substr(0, equals), number);
        if (!code) {
            return;
        }
        const std::u16string_view written = line.substr(equals + 1);
        if (written.empty()) {
            Add(TblIssueKind::EmptyCharacter, number, line);
            return;
        }
        // The reader trims the character part of the line this entry becomes (all but a lone
        // space), so outer spaces cannot always be carried over.
        const std::u16string entry = code->digits + u" " + std::u16string(written);
        const std::u16string_view character = ClassifyTableLine(entry).character;
        if (character != written) {
            Add(TblIssueKind::SpacesLost, number, written);
        }
        if (!character.empty()) {
            AddEntry(*code, character, number);
        }
    }

    void ReadLineBreak(std::u16string_view rest, std::size_t number) {
        const std::size_t equals = rest.find(u'=');
        const auto code = ReadCode(rest.substr(0, equals), number);
        if (!code) {
            return;
        }
        if (equals != std::u16string_view::npos) {
            Add(TblIssueKind::LineBreakText, number, rest.substr(equals + 1));
        }
        AddEntry(*code, kLineBreakToken, number);
    }

    std::optional<Code> ReadCode(std::u16string_view digits, std::size_t number) {
        if (digits.empty() || !std::ranges::all_of(digits, IsHexDigit)) {
            Add(TblIssueKind::NotHexadecimal, number, digits);
            return std::nullopt;
        }
        if (digits.size() % 2 != 0) {
            Add(TblIssueKind::OddDigits, number, digits);
            return std::nullopt;
        }
        if (digits.size() > 4) {
            Add(TblIssueKind::LongCode, number, digits);
            return std::nullopt;
        }
        std::u16string upper(digits);
        for (char16_t& c : upper) {
            c = c >= u'a' ? static_cast<char16_t>(c - u'a' + u'A') : c;
        }
        if (upper.size() == 4 && form_ == CodeForm::FileOrder) {
            upper = SwapByteGroups(upper);
        }
        return Code{.digits = upper, .value = ParseHexCode(upper).value_or(0)};
    }

    void AddEntry(const Code& code, std::u16string_view character, std::size_t number) {
        std::u16string line = code.digits + u" " + std::u16string(character);
        if (!writer_.CanStore(line)) {
            Add(TblIssueKind::Unstorable, number, character);
            ++unstorable_;
            return;
        }
        groups_.push_back(Group{std::move(pendingComments_), std::move(line), code});
        pendingComments_.clear();
    }

    ImportedTable Finish() {
        std::vector<std::uint32_t> singles;
        std::vector<std::uint32_t> pairs;
        for (const Group& group : groups_) {
            (group.code.digits.size() == 2 ? singles : pairs).push_back(group.code.value);
        }
        // Editors of this format read the longest code that matches; codes to text here takes
        // the first line that matches, which gives the same only with the pairs first.
        result_.twoByteFirst = OneByteShadowsTwoByte(singles, pairs);
        if (result_.twoByteFirst) {
            std::ranges::stable_partition(
                groups_, [](const Group& group) { return group.code.digits.size() == 4; });
        }
        std::vector<std::u16string> header{u"「" + sourceName_ +
                                           u"」から zelkora-cli import-tbl で変換した表です。"};
        const auto example = std::ranges::find_if(
            groups_, [](const Group& group) { return group.code.digits.size() == 4; });
        if (form_ == CodeForm::FileOrder && example != groups_.end()) {
            // The code as the source writes it, and the character after it on its line.
            header.push_back(FileOrderNote(std::u16string_view(example->line).substr(5),
                                           SwapByteGroups(example->code.digits)));
        }
        if (result_.twoByteFirst) {
            header.emplace_back(kTwoByteFirstNote);
        }
        if (unstorable_ > 0) {
            header.push_back(UnstorableNote(writer_.encoding(), unstorable_));
        }
        header.push_back(StorageNote(writer_.encoding()));

        std::vector<std::u16string> lines;
        for (Group& group : groups_) {
            lines.insert(lines.end(), group.comments.begin(), group.comments.end());
            lines.push_back(std::move(group.line));
        }
        lines.insert(lines.end(), pendingComments_.begin(), pendingComments_.end());

        result_.entries = groups_.size();
        result_.bytes =
            writer_.Store(writer_.Compose(header, lines)).value_or(std::vector<std::uint8_t>{});
        std::ranges::stable_sort(result_.issues, {}, &TblIssue::line);
        return std::move(result_);
    }

    std::u16string sourceName_;
    TableWriter writer_;
    CodeForm form_;
    ImportedTable result_;
    std::vector<Group> groups_;
    std::vector<std::u16string> pendingComments_;
    std::size_t unstorable_ = 0;
};

std::string Message(const TblIssue& issue, Encoding encoding) {
    const std::string text = QuoteText(issue.text);
    switch (issue.kind) {
        case TblIssueKind::Substituted:
            return std::to_string(issue.count) + " bytes cannot be decoded and become U+FFFD";
        case TblIssueKind::NotAnEntry:
            return text + " has no \"=\": not an entry, left out";
        case TblIssueKind::EndToken:
            return "end token " + text + ": tables here have no end tokens, left out";
        case TblIssueKind::ControlCode:
            return "control code " + text + ": tables here have no control codes, left out";
        case TblIssueKind::TableSwitch:
            return text + " names or switches tables: a table here is one file, left out";
        case TblIssueKind::NotHexadecimal:
            return "code " + text + " is not hexadecimal, left out";
        case TblIssueKind::OddDigits:
            return "code " + text + " is not whole bytes (odd number of digits), left out";
        case TblIssueKind::LongCode:
            return "code " + text +
                   " is longer than two bytes, which codes to text never reads, "
                   "left out";
        case TblIssueKind::EmptyCharacter:
            return text + " has no character, left out";
        case TblIssueKind::SpacesLost:
            return "the character " + text + " has spaces at its ends, which tables here trim";
        case TblIssueKind::LineBreakText:
            return "the text " + text + " of a line break is dropped: written as \"\\n\"";
        case TblIssueKind::Unstorable:
            return "the character " + text + " cannot be stored in " +
                   std::string(CharsetName(encoding)) + ", left out";
    }
    return {};
}

}  // namespace

ImportedTable ImportTbl(std::span<const std::uint8_t> bytes, std::u16string_view sourceName,
                        Encoding encoding, CodeForm form) {
    return Importer(sourceName, encoding, form).Run(bytes);
}

std::string FormatTblIssues(const ImportedTable& imported, std::string_view name,
                            Encoding encoding) {
    std::string out;
    for (const TblIssue& issue : imported.issues) {
        out += std::string(name) + ":" +
               (issue.line > 0 ? std::to_string(issue.line) + ":" : std::string()) + " " +
               Message(issue, encoding) + "\n";
    }
    return out;
}

}  // namespace zelkora
