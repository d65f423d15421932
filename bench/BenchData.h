#pragma once

// The data the benchmarks run on, generated rather than read from settings/, so the figures do
// not move when the shipped tables change. Everything is derived from a fixed seed and ICU's
// Windows-31J converter, so every run measures the same bytes.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/encoding/modJudge.h"

namespace zelkora::bench {

// The size of the mixed Japanese text, counted in UTF-8 bytes (what a paste of 1 MiB holds).
inline constexpr std::size_t kTextBytes = std::size_t{1} << 20;

// One table file as it is stored on disk.
struct BenchTable {
    std::string name;   // also its file name
    Encoding encoding;  // what it is stored in, and what detection must name
    std::vector<std::uint8_t> bytes;
    std::size_t lines = 0;  // lines of the stored text, which is also the number of slots
};

// The whole Basic Multilingual Plane except surrogates and controls, one four-digit code per
// line in code order, plus the line-break token at 000A, so CR LF converts with the line-break
// option on. Stored as UTF-16LE with FF FE.
[[nodiscard]] BenchTable BmpTable();

// The codes of Windows-31J that decode to one character and encode back, as the table maker
// writes them, stored in the given encoding (characters it cannot hold are left out).
// Nothing when ICU has no Windows-31J converter.
[[nodiscard]] std::optional<BenchTable> Windows31JTable(Encoding storedIn);

// BmpTable, then Windows31JTable stored in Shift_JIS, UTF-7 and ISO-2022-JP.
[[nodiscard]] std::optional<std::vector<BenchTable>> AllTables();

// Lines of 20 to 79 characters ended by CR LF: hiragana, katakana, kanji that Windows-31J
// holds and printable ASCII without the backslash (a backslash before an "n" would read as the
// line-break token). Exactly `utf8Bytes` long in UTF-8.
[[nodiscard]] std::u16string MixedJapaneseText(std::size_t utf8Bytes = kTextBytes);

// The same text written as UTF-8 into a file a piece at a time, so that a text of gigabytes is
// never held whole: a longer text begins as a shorter one does, only its last bytes differ.
[[nodiscard]] bool WriteMixedJapaneseText(const std::filesystem::path& file, std::size_t utf8Bytes);

// A table of about `bytes` bytes: BmpTable repeated (its byte-order mark once), so that every
// line after the first 63,425 repeats an earlier one: a large table as one made by joining
// tables looks.
[[nodiscard]] BenchTable RepeatedBmpTable(std::size_t bytes);

// The first 1000 bytes of MixedJapaneseText stored in the given encoding, as the table writer
// stores a file (UTF-16LE and UTF-8 with their byte-order marks).
[[nodiscard]] std::optional<std::vector<std::uint8_t>> DetectionSample(Encoding encoding);

// The file name the text is written under beside the tables.
inline constexpr char kTextFileName[] = "text.utf8.txt";

// Writes every table into the folder under its name; false on any failure.
[[nodiscard]] bool WriteTables(const std::filesystem::path& folder,
                               const std::vector<BenchTable>& tables);

// Writes the text as UTF-8; false on failure.
[[nodiscard]] bool WriteUtf8(const std::filesystem::path& file, std::u16string_view text);

}  // namespace zelkora::bench
