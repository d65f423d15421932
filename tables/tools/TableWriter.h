#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "encoding/modJudge.h"

namespace zelkora {

// The encoding a written table is stored in, by the name the detector gives it or by its
// charset name: "SJIS" or "Shift_JIS", "EUC" or "EUC-JP", "JIS" or "ISO-2022-JP", "UTF7" or
// "UTF-7", "UTF8" or "UTF-8", "UNICODE" or "UTF-16LE"; case does not matter.
[[nodiscard]] std::optional<Encoding> ParseTableEncoding(std::string_view name);

// Stores table text in one of the six encodings the reader detects, so that what is written is
// what the reader reads back. Holds one open converter; not a value.
class TableWriter {
public:
    explicit TableWriter(Encoding encoding);
    ~TableWriter();
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    [[nodiscard]] Encoding encoding() const { return encoding_; }

    // Whether the text can be stored without a substitute (ISO-2022-JP has no half-width
    // katakana, Shift_JIS and EUC-JP hold only their own repertoire).
    [[nodiscard]] bool CanStore(std::u16string_view text);

    // The file's bytes; nothing when some character cannot be stored. UTF-16LE starts with
    // FF FE and UTF-8 with EF BB BF, which make detection certain; UTF-7 closes every base64
    // run with "-", which the detector needs to see a run as UTF-7.
    [[nodiscard]] std::optional<std::vector<std::uint8_t>> Store(std::u16string_view text);

private:
    struct Converter;
    Encoding encoding_;
    std::unique_ptr<Converter> converter_;
};

}  // namespace zelkora
