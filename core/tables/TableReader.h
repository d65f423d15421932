#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>
#include <vector>

#include "core/common/FileBytes.h"
#include "core/common/Result.h"
#include "core/engine/CodeTable.h"

namespace zelkora {

// Cuts decoded text into lines (at CR LF and at a lone LF; a lone CR stays in its line) and
// fills one slot per line, then builds the lookup index.
[[nodiscard]] CodeTable ParseTable(std::u16string_view text);

// The lines ParseTable cuts the text into, in order: line i fills slot i. Views into text.
[[nodiscard]] std::vector<std::u16string_view> CutTableLines(std::u16string_view text);

// Calls take(line) for each of those lines in order, without listing them: for a table of
// millions of lines, the list alone is several times the size of a small table.
// A line ends at CR LF and also at a lone LF: a table written on Windows gets lines appended
// by an editor or a shell that end in LF alone. A lone CR ends nothing and stays in its line.
template <typename Take>
void ForEachTableLine(std::u16string_view text, Take take) {
    std::size_t start = 0;
    for (auto end = text.find(u'\n'); end != std::u16string_view::npos;
         end = text.find(u'\n', start)) {
        const std::size_t cut = end > start && text[end - 1] == u'\r' ? end - 1 : end;
        take(text.substr(start, cut - start));
        start = end + 1;
    }
    take(text.substr(start));
}

// What a line of a table file is to the reader.
enum class LineKind {
    Blank,          // nothing but spaces
    Short,          // fewer than 3 characters: ignored
    Comment,        // "//" once trimmed
    CharacterOnly,  // no space: the whole line, trimmed, is a character without a code
    Entry,          // the code field before the first space, the character after it
};

struct TableLine {
    LineKind kind = LineKind::Blank;
    std::u16string_view code;     // Entry: the code field, empty when the line begins with a space
    std::u16string_view written;  // Entry: all that follows the first space
    std::u16string_view character;  // CharacterOnly and Entry: what the line's slot holds
};

// How the reader reads one line (without its line end). Tools that predict the reader, such as
// check-table, ask this rather than restate its rules. Views into line.
[[nodiscard]] TableLine ClassifyTableLine(std::u16string_view line);

// Removes U+0020 from both ends, the only character the reader trims.
[[nodiscard]] std::u16string_view TrimTableSpaces(std::u16string_view text);

// The code field's value: unsigned hexadecimal that fits 32 bits, kept bit for bit in the
// signed slot ("FFFFFFFF" is -1); 0 when empty, not hexadecimal or too large.
[[nodiscard]] std::int32_t ReadCodeField(std::u16string_view field);

// What became of reading a table file, as callers tell the cases apart: a read gives a Result<>
// to compare with these. CannotOpen carries the system's error from opening or reading the file,
// or the WrongFileKind it is; the others are the reader's own codes, in the same category.
enum class ReadStatus {
    Ok,           // the table was replaced by the file's contents
    CannotOpen,   // missing, unreadable or not a regular file: table unchanged
    EmptyFile,    // zero bytes: table unchanged
    NoText,       // decoding gave no text: table unchanged
    NotTextFile,  // the decoded text holds U+0000 (see IsTableText): table unchanged
};
[[nodiscard]] std::error_condition make_error_condition(ReadStatus status);

// Whether decoded text can be a table: it holds no U+0000. A program or an image has NUL bytes,
// which every encoding but UTF-16 decodes to U+0000 (and UTF-16 wherever two meet at an even
// offset), while no text file, and no table, has a use for one.
[[nodiscard]] bool IsTableText(std::u16string_view decoded);

// Reads, decodes and parses a whole table file of the kinds given. The table is replaced only
// when the file yields text, so a table that cannot be read leaves the previous one in use.
[[nodiscard]] Result<> ReadTableFile(const std::filesystem::path& path, CodeTable& table,
                                     FileKinds kinds = FileKinds::Regular);

// Reads as ReadTableFile does, but looks again for a missing file until `patience` has passed:
// an editor that saves by removing the file and writing it anew leaves it missing for a moment.
// Blocks for at most that long (and the read).
[[nodiscard]] Result<> ReadTableFileBackWithin(const std::filesystem::path& path, CodeTable& table,
                                               std::chrono::milliseconds patience);

}  // namespace zelkora

template <>
struct std::is_error_condition_enum<zelkora::ReadStatus> : std::true_type {};
