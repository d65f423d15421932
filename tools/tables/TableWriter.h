#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/encoding/EncodingRegistry.h"
#include "core/encoding/IcuConverter.h"

namespace zelkora {

// Header lines of a written table: the encoding it is stored in, and how many entries were
// left out because that encoding cannot hold their character.
[[nodiscard]] std::u16string StorageNote(Encoding encoding);
[[nodiscard]] std::u16string UnstorableNote(Encoding encoding, std::size_t count);

// Stores table text in one of the six encodings the reader detects, so that what is written is
// what the reader reads back. Holds one open converter; not a value.
class TableWriter {
public:
    explicit TableWriter(Encoding encoding);
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    [[nodiscard]] Encoding encoding() const { return encoding_; }

    // Whether the text can be stored without a substitute and reads back unchanged (ISO-2022-JP
    // has no half-width katakana, Shift_JIS and EUC-JP hold only their own repertoire).
    [[nodiscard]] bool CanStore(std::u16string_view text);

    // The text of a table file: each header line as a "//" comment, then the lines, every one
    // ended by CR LF. A header line the encoding cannot hold is left out.
    [[nodiscard]] std::u16string Compose(const std::vector<std::u16string>& header,
                                         const std::vector<std::u16string>& lines);

    // The file's bytes; nothing when some character cannot be stored. UTF-16LE starts with
    // FF FE and UTF-8 with EF BB BF, which make detection certain; UTF-7 closes every base64
    // run with "-", which the detector needs to see a run as UTF-7.
    [[nodiscard]] std::optional<std::vector<std::uint8_t>> Store(std::u16string_view text);

private:
    Encoding encoding_;
    IcuConverter converter_;
};

}  // namespace zelkora
