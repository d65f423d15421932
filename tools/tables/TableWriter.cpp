#include "tools/tables/TableWriter.h"

#include <unicode/ucnv.h>

#include "core/encoding/Base64Alphabet.h"
#include "core/encoding/DecodeText.h"
#include "core/encoding/EncodingRegistry.h"

namespace zelkora {

namespace {

// The converter may end a base64 run without "-" when the next character is not a base64
// letter. Decoders accept that, but the detector only credits runs closed by "-", and a table
// whose runs go uncredited can be taken for Shift_JIS.
std::vector<std::uint8_t> CloseBase64Runs(const std::vector<std::uint8_t>& utf7) {
    std::vector<std::uint8_t> out;
    out.reserve(utf7.size() + utf7.size() / 8);
    std::size_t i = 0;
    while (i < utf7.size()) {
        const std::uint8_t b = utf7[i++];
        out.push_back(b);
        if (b != '+') {
            continue;
        }
        if (i < utf7.size() && utf7[i] == '-') {
            out.push_back(utf7[i++]);  // "+-" is a plain plus sign
            continue;
        }
        while (i < utf7.size() && IsBase64(utf7[i])) {
            out.push_back(utf7[i++]);
        }
        if (i == utf7.size() || utf7[i] != '-') {
            out.push_back('-');
        }
    }
    return out;
}

std::u16string StorageName(Encoding encoding) {
    const std::string_view name = CharsetName(encoding);
    return {name.begin(), name.end()};
}

}  // namespace

std::u16string StorageNote(Encoding encoding) {
    return u"保存形式: " + StorageName(encoding);
}

std::u16string UnstorableNote(Encoding encoding, std::size_t count) {
    const std::string n = std::to_string(count);
    return u"保存形式 " + StorageName(encoding) + u" で書けない文字の行 " +
           std::u16string(n.begin(), n.end()) + u" 個は入れていません。";
}

// The converter the reader decodes with, so that a written table reads back unchanged.
TableWriter::TableWriter(Encoding encoding) : encoding_(encoding) {
    const EncodingInfo* info = FindEncoding(encoding);
    if (info == nullptr) {
        return;
    }
    converter_ = OpenIcuConverter(info->converterName);
    if (converter_) {
        UErrorCode status = U_ZERO_ERROR;
        ucnv_setFromUCallBack(converter_.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr,
                              nullptr, &status);
    }
}

// Stored and read back with the reader's own decoder: a character the converter writes but the
// reader maps elsewhere (the decoders follow Windows-31J) would change the table unseen.
bool TableWriter::CanStore(std::u16string_view text) {
    if (text.empty()) {
        return true;
    }
    const auto bytes = Store(text);
    return bytes && DecodeTableBytesAs(encoding_, *bytes) == text;
}

std::u16string TableWriter::Compose(const std::vector<std::u16string>& header,
                                    const std::vector<std::u16string>& lines) {
    std::u16string text;
    for (const std::u16string& line : header) {
        const std::u16string comment = u"// " + line;
        // A title the encoding cannot hold is dropped rather than the whole table.
        if (CanStore(comment)) {
            text.append(comment).append(u"\r\n");
        }
    }
    for (const std::u16string& line : lines) {
        text.append(line).append(u"\r\n");
    }
    return text;
}

std::optional<std::vector<std::uint8_t>> TableWriter::Store(std::u16string_view text) {
    if (!converter_) {
        return std::nullopt;
    }
    const auto length = static_cast<std::int32_t>(text.size());
    UErrorCode status = U_ZERO_ERROR;
    const std::int32_t needed =
        ucnv_fromUChars(converter_.get(), nullptr, 0, text.data(), length, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(needed));
    status = U_ZERO_ERROR;
    ucnv_fromUChars(converter_.get(), reinterpret_cast<char*>(bytes.data()), needed, text.data(),
                    length, &status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    if (encoding_ == Encoding::UTF7) {
        bytes = CloseBase64Runs(bytes);
    }
    const std::string_view mark = FindEncoding(encoding_)->byteOrderMark;
    bytes.insert(bytes.begin(), mark.begin(), mark.end());
    return bytes;
}

}  // namespace zelkora
