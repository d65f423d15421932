#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "encoding/modJudge.h"
#include "engine/CodeTable.h"

namespace zelkora {

// Detects the encoding of a table file's bytes and decodes them; the empty text when the
// decoder gives nothing. A leading byte-order mark is dropped for UTF-16LE and UTF-8.
[[nodiscard]] std::u16string DecodeTableBytes(std::span<const std::uint8_t> bytes);

// Cuts decoded text into lines (at CR LF; at LF when the text holds no CR LF at all) and
// fills one slot per line, then builds the lookup index.
[[nodiscard]] CodeTable ParseTable(std::u16string_view text);

enum class ReadStatus {
    Ok,          // the table was replaced by the file's contents
    CannotOpen,  // missing, unreadable or not a regular file: table unchanged
    EmptyFile,   // zero bytes: table unchanged
    NoText,      // decoding gave no text: table unchanged
};

// Reads, decodes and parses a whole table file. The table is replaced only when the file
// yields text, so a table that cannot be read leaves the previous one in use.
[[nodiscard]] ReadStatus ReadTableFile(const std::filesystem::path& path, CodeTable& table);

}  // namespace zelkora
