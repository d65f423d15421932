#include "core/encoding/DecodeText.h"

#include "core/encoding/modADOS.h"
#include "core/encoding/modJudge.h"

namespace zelkora {

std::u16string DecodeTableBytes(std::span<const std::uint8_t> bytes) {
    return DecodeTableBytesAs(DetectEncoding(bytes), bytes);
}

std::u16string DecodeTableBytesAs(Encoding encoding, std::span<const std::uint8_t> bytes,
                                  std::size_t* substitutions) {
    std::size_t ignored = 0;
    std::size_t& count = substitutions != nullptr ? *substitutions : ignored;
    count = 0;
    if (encoding == Encoding::Unicode) {
        // Taken as code units as they stand: an odd last byte is all that can be lost.
        const std::size_t mark = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
        count = (bytes.size() - 2 * mark) % 2;
        return FromUTF16LE(bytes);
    }
    // A value that is none of the six is read as Shift_JIS, the detection's default.
    const EncodingInfo* info = FindEncoding(encoding);
    const EncodingInfo& decoding = info != nullptr ? *info : *FindEncoding(Encoding::SJIS);
    std::u16string text = DecodeWithCharset(decoding.converterName, bytes, &count);
    // Left in place, a UTF-8 mark would become part of the first line's code field, which then
    // reads as code 0 and silently loses its entry.
    if (!decoding.byteOrderMark.empty() && !text.empty() && text.front() == u'\uFEFF') {
        text.erase(0, 1);
    }
    return text;
}

}  // namespace zelkora
