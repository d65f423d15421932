#include "tables/TableReader.h"

#include <unicode/utf16.h>

#include <algorithm>
#include <string>
#include <thread>

#include "common/FileBytes.h"
#include "encoding/EncodingRegistry.h"
#include "encoding/modADOS.h"
#include "engine/HexCode.h"

namespace zelkora {
namespace {

constexpr char16_t kSpace = u' ';
constexpr char16_t kIdeographicSpace = u'\u3000';

// Sets the slot of one line: empty for a line that is not an entry.
void ParseLine(std::u16string_view line, std::size_t slot, CodeTable& table) {
    const TableLine read = ClassifyTableLine(line);
    table.SetSlot(slot, ReadCodeField(read.code), read.code, read.character);
}

// A surrogate can be shown only as half of a pair; a lone one is escaped.
bool IsLoneSurrogate(std::u16string_view text, std::size_t at) {
    const char16_t c = text[at];
    if (U16_IS_LEAD(c)) {
        return at + 1 >= text.size() || !U16_IS_TRAIL(text[at + 1]);
    }
    return U16_IS_TRAIL(c) && (at == 0 || !U16_IS_LEAD(text[at - 1]));
}

void AppendEscaped(std::u16string_view text, std::u16string& out) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char16_t c = text[at];
        if (c == u'\\') {
            out += u"\\\\";
        } else if (c == u'\r') {
            out += u"\\r";
        } else if (c == u'\n') {
            out += u"\\n";
        } else if (c == u'\t') {
            out += u"\\t";
        } else if (c <= 0x20 || c == 0x7F || IsLoneSurrogate(text, at)) {
            out += HexEscape(c);
        } else {
            out += c;
        }
    }
}

}  // namespace

std::u16string DecodeTableBytes(std::span<const std::uint8_t> bytes) {
    return DecodeTableBytesAs(DetectEncoding(bytes), bytes);
}

std::u16string DecodeTableBytesAs(Encoding encoding, std::span<const std::uint8_t> bytes,
                                  std::size_t* substitutions) {
    std::size_t ignored = 0;
    std::size_t& count = substitutions != nullptr ? *substitutions : ignored;
    count = 0;
    if (encoding == Encoding::Unicode) {
        // Taken as code units as they stand: an odd last byte is all that can be lost.
        const std::size_t mark = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
        count = (bytes.size() - 2 * mark) % 2;
        return FromUTF16LE(bytes);
    }
    // A value that is none of the six is read as Shift_JIS, the detection's default.
    const EncodingInfo* info = FindEncoding(encoding);
    const EncodingInfo& decoding = info != nullptr ? *info : *FindEncoding(Encoding::SJIS);
    std::u16string text = DecodeWithCharset(decoding.converterName, bytes, &count);
    // Left in place, a UTF-8 mark would become part of the first line's code field, which then
    // reads as code 0 and silently loses its entry.
    if (!decoding.byteOrderMark.empty() && !text.empty() && text.front() == u'\uFEFF') {
        text.erase(0, 1);
    }
    return text;
}

TableLine ClassifyTableLine(std::u16string_view line) {
    TableLine read;
    const std::u16string_view trimmed = TrimTableSpaces(line);
    if (trimmed.empty()) {
        return read;
    }
    const auto space = line.find(kSpace);
    if (line.size() < 3) {
        read.kind = LineKind::Short;
    } else if (trimmed.starts_with(u"//")) {
        read.kind = LineKind::Comment;
    } else if (space == std::u16string_view::npos) {
        read.kind = LineKind::CharacterOnly;
        read.character = trimmed;
    } else {
        // The code field cannot hold a space, so trimming it changes nothing. A character part
        // of one space, or one ideographic space, is that character; any other is trimmed.
        read.kind = LineKind::Entry;
        read.code = line.substr(0, space);
        read.written = line.substr(space + 1);
        const bool lonelySpace = read.written.size() == 1 && (read.written[0] == kSpace ||
                                                              read.written[0] == kIdeographicSpace);
        read.character = lonelySpace ? read.written : TrimTableSpaces(read.written);
    }
    return read;
}

std::int32_t ReadCodeField(std::u16string_view field) {
    return static_cast<std::int32_t>(ParseHexCode(field).value_or(0));
}

namespace {

// A line ends at CR LF and also at a lone LF: a table written on Windows gets lines appended
// by an editor or a shell that end in LF alone. A lone CR ends nothing and stays in its line.
std::size_t CountLines(std::u16string_view text) {
    return 1 + static_cast<std::size_t>(std::ranges::count(text, u'\n'));
}

// Calls take(line) for each line in order, without its line end.
template <typename Take>
void ForEachLine(std::u16string_view text, Take take) {
    std::size_t start = 0;
    for (auto end = text.find(u'\n'); end != std::u16string_view::npos;
         end = text.find(u'\n', start)) {
        const std::size_t cut = end > start && text[end - 1] == u'\r' ? end - 1 : end;
        take(text.substr(start, cut - start));
        start = end + 1;
    }
    take(text.substr(start));
}

}  // namespace

// Counted first: a table of 60,000 lines would otherwise be copied at every doubling of the
// vector, and memory first touched is what reading a large table costs most.
std::vector<std::u16string_view> CutTableLines(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    lines.reserve(CountLines(text));
    ForEachLine(text, [&](std::u16string_view line) { lines.push_back(line); });
    return lines;
}

std::u16string_view TrimTableSpaces(std::u16string_view text) {
    // Only U+0020 is trimmed: a table maps U+3000 like any other character, so it must survive
    // at the ends of a character part.
    const auto first = text.find_first_not_of(kSpace);
    if (first == std::u16string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

namespace {

// Fills the table in place, one slot per line, so that a table read before every conversion
// reuses the storage of the last one instead of allocating, and faulting in, megabytes of slots
// again. Every slot is set from its line: nothing of the previous table survives. Storage more than
// twice what this table needs is let go, so a small table does not keep a large one's memory.
void FillTable(std::u16string_view text, CodeTable& table) {
    // The lines are taken one by one, as CutTableLines cuts them, rather than listed first: a
    // list of 60,000 views is another megabyte to fault in.
    const std::size_t lines = CountLines(text);
    if (table.capacity() / 2 > lines) {
        table = CodeTable{};
    }
    table.Resize(lines);
    std::size_t slot = 0;
    ForEachLine(text, [&](std::u16string_view line) {
        ParseLine(line, slot, table);
        ++slot;
    });
    table.BuildIndex();
}

}  // namespace

CodeTable ParseTable(std::u16string_view text) {
    CodeTable table;
    FillTable(text, table);
    return table;
}

bool IsTableText(std::u16string_view decoded) {
    return decoded.find(u'\0') == std::u16string_view::npos;
}

ReadStatus ReadTableFile(const std::filesystem::path& path, CodeTable& table, FileKinds kinds) {
    std::optional<std::vector<std::uint8_t>> bytes = ReadFileBytes(path, kinds);
    if (!bytes) {
        return ReadStatus::CannotOpen;
    }
    if (bytes->empty()) {
        return ReadStatus::EmptyFile;
    }
    const std::u16string text = DecodeTableBytes(*bytes);
    // The file's bytes are let go before the slots are built, so that their memory can serve
    // the slots instead of more being faulted in.
    bytes.reset();
    if (text.empty()) {
        return ReadStatus::NoText;
    }
    if (!IsTableText(text)) {
        return ReadStatus::NotTextFile;
    }
    FillTable(text, table);
    return ReadStatus::Ok;
}

ReadStatus ReadTableFileBackWithin(const std::filesystem::path& path, CodeTable& table,
                                   std::chrono::milliseconds patience) {
    constexpr std::chrono::milliseconds kLookAgain{10};
    const auto deadline = std::chrono::steady_clock::now() + patience;
    ReadStatus status = ReadTableFile(path, table);
    while (status == ReadStatus::CannotOpen && WhyCannotOpen(path) == OpenFailure::Missing) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left <= std::chrono::milliseconds::zero()) {
            break;
        }
        std::this_thread::sleep_for(std::min(kLookAgain, left));
        status = ReadTableFile(path, table);
    }
    return status;
}

OpenFailure WhyCannotOpen(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return OpenFailure::Missing;
    }
    if (!error && status.type() != std::filesystem::file_type::regular) {
        return OpenFailure::NotRegularFile;
    }
    return OpenFailure::Unreadable;
}

std::u16string FormatSlots(const CodeTable& table) {
    std::u16string out;
    for (std::size_t slot = 0; slot < table.size(); ++slot) {
        if (table.CodeTexts[slot].empty() && table.Characters[slot].empty()) {
            continue;
        }
        const std::string line = std::to_string(slot + 1);
        out.append(line.begin(), line.end()).append(u"\t");
        AppendEscaped(table.CodeTexts[slot], out);
        out += u"\t" + HexDigits(static_cast<std::uint32_t>(table.Codes[slot])) + u"\t";
        AppendEscaped(table.Characters[slot], out);
        out += u'\n';
    }
    return out;
}

}  // namespace zelkora
