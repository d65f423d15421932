#pragma once

// The six encodings table files are read in, each with every name it goes by: the one detection
// gives it, the converter that decodes and stores it, the one people know it by, and the
// byte-order mark a stored table starts with.

#include <array>
#include <optional>
#include <string_view>

#include "encoding/modJudge.h"

namespace zelkora {

// ICU's name of the Windows-31J table (Shift_JIS as Windows has it: 0x5C is a backslash,
// 0x8160 the full-width tilde, NEC row 13 and the IBM extensions included).
inline constexpr char kWindows31J[] = "windows-31j";

struct EncodingInfo {
    Encoding encoding;
    const char* detectionName;       // "SJIS", as DetectEncoding reports it
    const char* converterName;       // the charset the reader decodes with and the writer stores
    std::string_view charsetName;    // "Shift_JIS", for people
    std::string_view byteOrderMark;  // what a stored table starts with; empty for none
};

// In the order of the enumeration, so an encoding's value is its index.
inline constexpr std::array<EncodingInfo, 6> kEncodings{{
    {Encoding::SJIS, "SJIS", kWindows31J, "Shift_JIS", ""},
    {Encoding::JIS, "JIS", "ISO-2022-JP", "ISO-2022-JP", ""},
    {Encoding::Unicode, "UNICODE", "UTF-16LE", "UTF-16LE", "\xFF\xFE"},
    {Encoding::UTF8, "UTF8", "UTF-8", "UTF-8", "\xEF\xBB\xBF"},
    {Encoding::UTF7, "UTF7", "UTF-7", "UTF-7", ""},
    {Encoding::EUC, "EUC", "EUC-JP", "EUC-JP", ""},
}};

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
