#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/encoding/EncodingRegistry.h"
#include "tools/tables/CodeForm.h"

namespace zelkora {

// What a "XX=char" table holds that this program's tables cannot carry over as it stands.
enum class TblIssueKind {
    Substituted,     // undecodable bytes in the file
    NotAnEntry,      // no "="
    EndToken,        // "/XX": ends a string
    ControlCode,     // "$XX=...": a code with parameters
    TableSwitch,     // "@name" or "!XX=...": several tables in one file
    NotHexadecimal,  // the code is not hexadecimal
    OddDigits,       // not whole bytes
    LongCode,        // more than two bytes
    EmptyCharacter,  // "XX=" with nothing after it
    SpacesLost,      // spaces at the ends of the character, which this format drops
    LineBreakText,   // "*XX=text": the text of a line break is dropped
    Unstorable,      // the output encoding cannot hold the character
};

struct TblIssue {
    TblIssueKind kind = TblIssueKind::NotAnEntry;
    std::size_t line = 0;  // as editors count, from 1; 0 for the whole file
    std::u16string text;   // the line or character concerned
    std::size_t count = 0;
};

struct ImportedTable {
    std::vector<std::uint8_t> bytes;  // the converted table file
    std::size_t entries = 0;          // entry lines written
    bool twoByteFirst = false;        // two-byte entries were moved before one-byte entries
    std::vector<TblIssue> issues;     // in file order
};

// Converts a "XX=char" table (any encoding the detector names; "#" comments; "*XX" and "\n"
// line breaks) into a table file stored in the given encoding, with CR LF line ends. A
// header line names the source, given as text. A "XX=char" code is bytes in file order
// (8391 is the bytes 83 91), so in file order each two-byte code is written reversed (9183), and
// converting gives the bytes as the source lists them.
[[nodiscard]] ImportedTable ImportTbl(std::span<const std::uint8_t> bytes,
                                      std::u16string_view sourceName, Encoding encoding,
                                      CodeForm form = CodeForm::FileOrder);

// One issue a line, prefixed "name:line:" as compilers write, in UTF-8.
[[nodiscard]] std::string FormatTblIssues(const ImportedTable& imported, std::string_view name,
                                          Encoding encoding);

}  // namespace zelkora
