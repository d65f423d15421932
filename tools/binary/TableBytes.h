#pragma once

// The conversions of to-codes and to-text with raw bytes on the code side: a text's codes read
// as bytes, and bytes read as codes of two digits each.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/TextLines.h"
#include "core/engine/CodeTable.h"

namespace zelkora {

// A character that has no bytes: the table lacks it, or its code is not two hexadecimal digits
// a byte.
struct UncodableCharacter {
    std::size_t offset = 0;  // where it starts in the text
    std::u16string code;     // its code in the notation; empty when the table lacks it
};

struct TextBytes {
    std::vector<std::uint8_t> bytes;  // all of them, or those before the fault
    std::optional<UncodableCharacter> fault;
};

// The byte groups of the codes fTextToCode gives, in order. At the first character that has no
// bytes they stop, and `fault` says which: binary data never holds a "??".
[[nodiscard]] TextBytes TextToBytes(const CodeTable& table, std::u16string_view text,
                                    bool lineBreakOption);

// What is wrong with the character, for a message: its place, as line and column, and why.
// `text` begins at `start` of the input.
[[nodiscard]] std::string UncodableMessage(std::u16string_view text,
                                           const UncodableCharacter& fault,
                                           TextPosition start = {});

// Appends each byte as a two-digit element ("41 42"), a space between two: the codes to-text
// would read for the bytes. Blocks of bytes may be appended one after another.
void AppendByteCodes(std::span<const std::uint8_t> bytes, std::u16string& codes);

// The bytes read as codes through fCodeToText, as to-text converts them.
[[nodiscard]] std::u16string BytesToText(const CodeTable& table,
                                         std::span<const std::uint8_t> bytes, bool lineBreakOption);

}  // namespace zelkora
