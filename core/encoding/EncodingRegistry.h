#pragma once

// The six encodings table files are read in: the one list of them, each with every name it goes
// by and what detection and storage need to know of it. Every other list of the six (the order
// detection scores them in, the scores of a report, the names a message offers) is built from
// kEncodings.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelkora {

// In the order detection scores them: the first certain score wins, so an escape sequence
// outranks a UTF-16 byte-order mark, which outranks a UTF-8 one.
enum class Encoding { JIS, Unicode, UTF8, UTF7, SJIS, EUC };

inline constexpr std::size_t kEncodingCount = 6;

// ICU's name of the Windows-31J table (Shift_JIS as Windows has it: 0x5C is a backslash,
// 0x8160 the full-width tilde, NEC row 13 and the IBM extensions included).
inline constexpr char kWindows31J[] = "windows-31j";

struct EncodingInfo {
    Encoding encoding;
    const char* detectionName;       // "SJIS", as DetectEncoding reports it
    const char* converterName;       // the charset the reader decodes with and the writer stores
    std::string_view charsetName;    // "Shift_JIS", for people
    std::string_view byteOrderMark;  // what a stored table starts with; empty for none
    int tieBreak;                    // equal scores go to the encoding with the lowest
};

// In the order of the enumeration, so an encoding's value is its index.
inline constexpr std::array<EncodingInfo, kEncodingCount> kEncodings{{
    {Encoding::JIS, "JIS", "ISO-2022-JP", "ISO-2022-JP", "", 2},
    {Encoding::Unicode, "UNICODE", "UTF-16LE", "UTF-16LE", "\xFF\xFE", 1},
    {Encoding::UTF8, "UTF8", "UTF-8", "UTF-8", "\xEF\xBB\xBF", 4},
    {Encoding::UTF7, "UTF7", "UTF-7", "UTF-7", "", 3},
    {Encoding::SJIS, "SJIS", kWindows31J, "Shift_JIS", "", 0},
    {Encoding::EUC, "EUC", "EUC-JP", "EUC-JP", "", 5},
}};

// "SJIS", "JIS", "UNICODE", "UTF8", "UTF7" or "EUC". Detection never names anything but the
// six; a stray value reads as the default, "SJIS".
[[nodiscard]] const char* EncodingName(Encoding encoding);

// The detection names for a message: "JIS, UNICODE, UTF8, UTF7, SJIS or EUC".
[[nodiscard]] std::string EncodingNameList();

// Charset names are compared as the converters' registries do, ignoring ASCII case.
[[nodiscard]] bool SameCharsetName(std::string_view a, std::string_view b);

// Nothing for a value that is none of the six.
[[nodiscard]] const EncodingInfo* FindEncoding(Encoding encoding);

// "Shift_JIS", "ISO-2022-JP", "UTF-16LE", ...; empty for a value that is none of the six.
[[nodiscard]] std::string_view CharsetName(Encoding encoding);

// An encoding by its detection name or its charset name ("SJIS" or "Shift_JIS", "UNICODE" or
// "UTF-16LE", ...), case ignored.
[[nodiscard]] std::optional<Encoding> ParseTableEncoding(std::string_view name);

}  // namespace zelkora
