#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>
#include <vector>

#include "core/common/Result.h"
#include "core/encoding/EncodingRegistry.h"
#include "tools/tables/CodeForm.h"

namespace zelkora {

// Codes from..to inclusive, as charts print them (82A0-82FF for Shift_JIS, code units for
// UTF-16LE), compared by value: 20-7E holds the one-byte codes 20 to 7E and the two-byte codes
// 0020 to 007E.
struct CodeRange {
    std::uint32_t from = 0;
    std::uint32_t to = 0xFFFF;
};

enum class RangeError {
    NotARange = 1,  // not two codes of one to four hexadecimal digits joined by "-"
    Reversed,       // FROM above TO
};
[[nodiscard]] std::error_code make_error_code(RangeError error);

// "FROM-TO", each one to four hexadecimal digits, FROM not above TO.
[[nodiscard]] Result<CodeRange> ParseCodeRange(std::string_view text);

struct MakeTableRequest {
    std::string charset;  // any name the converter library knows
    std::optional<CodeRange> range;
    bool privateUse = false;  // keep characters of the private use area
    // Also list the codes whose character converts to another code, after the code it converts
    // to: codes to text then reads every code that has a character.
    bool alternatives = false;
    CodeForm form = CodeForm::FileOrder;
    Encoding encoding = Encoding::UTF8;
    std::u16string title;    // first header line; a default naming the charset when empty
    std::u16string command;  // the command line that made the table, recorded in the header
};

// One code of the charset and the single character it stands for.
struct TableEntry {
    std::uint16_t code = 0;  // its bytes as one number, the first byte highest
    bool twoByte = false;
    char16_t character = 0;
};

// The entries of a charset in the order they are written, and what was left out.
struct CharsetTable {
    std::string converterName;  // the converter library's own name for the charset
    std::vector<TableEntry> entries;
    bool twoByteFirst = false;  // two-byte codes written before one-byte codes
    // Code units stored low byte first (UTF-16LE): in file order, the codes are their values.
    bool littleEndian = false;
    std::size_t otherForms = 0;  // forms listed after the one the charset holds, see below
    std::size_t oneWay = 0;      // codes whose character converts to another code
    std::size_t noWayBack = 0;   // codes whose character converts to no code at all
    std::size_t controls = 0;    // control characters other than LF
    std::size_t privateUse = 0;
    std::size_t unassigned = 0;
};

// Every one- and two-byte code in the range that decodes to exactly one character of the
// Basic Multilingual Plane which encodes back to the same bytes, in the order charts print the
// codes, and with alternatives also those whose character encodes to other bytes, after all the
// others. A charset that holds one form of each of the seven characters Japanese text spells in
// a JIS form or a Microsoft form (〜 and ～, ¢ and ￠...) gets the form it lacks right after the
// one it holds, with the same code. Nothing when the converter library does not know the
// charset.
[[nodiscard]] std::optional<CharsetTable> CollectCharsetTable(const MakeTableRequest& request);

// The code as the table writes it: a two-byte code's bytes reversed in file order.
[[nodiscard]] std::uint16_t WrittenCode(const TableEntry& entry, CodeForm form);

// The table line of one entry: code digits, one space, the character; LF is written as the
// line-break token.
[[nodiscard]] std::u16string EntryLine(const TableEntry& entry, CodeForm form);

struct MadeTable {
    std::vector<std::uint8_t> bytes;  // the file, stored in the requested encoding
    std::size_t entries = 0;          // entry lines written
    std::size_t unstorable = 0;       // entries left out: the encoding cannot hold them
    bool readsBack = false;           // the reader detects and decodes the file as written
};

enum class MakeTableFailure {
    UnknownCharset = 1,  // the converter library does not know the charset
    CannotStore,         // the table cannot be stored in the requested encoding
};
[[nodiscard]] std::error_code make_error_code(MakeTableFailure failure);

// The whole table file for a request.
[[nodiscard]] Result<MadeTable> MakeTable(const MakeTableRequest& request);

}  // namespace zelkora

template <>
struct std::is_error_code_enum<zelkora::RangeError> : std::true_type {};
template <>
struct std::is_error_code_enum<zelkora::MakeTableFailure> : std::true_type {};
