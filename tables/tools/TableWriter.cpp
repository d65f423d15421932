#include "tables/tools/TableWriter.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <array>
#include <cctype>

#include "encoding/Base64Alphabet.h"
#include "tables/TableReader.h"

namespace zelkora {

namespace {

struct EncodingAlias {
    std::string_view name;
    Encoding encoding;
};

constexpr std::array<EncodingAlias, 12> kAliases{{
    {"SJIS", Encoding::SJIS},
    {"Shift_JIS", Encoding::SJIS},
    {"EUC", Encoding::EUC},
    {"EUC-JP", Encoding::EUC},
    {"JIS", Encoding::JIS},
    {"ISO-2022-JP", Encoding::JIS},
    {"UTF7", Encoding::UTF7},
    {"UTF-7", Encoding::UTF7},
    {"UTF8", Encoding::UTF8},
    {"UTF-8", Encoding::UTF8},
    {"UNICODE", Encoding::Unicode},
    {"UTF-16LE", Encoding::Unicode},
}};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

// The converters the reader decodes with, so that a written table reads back unchanged:
// Shift_JIS is taken as Windows-31J, where 5C is the backslash.
const char* ConverterName(Encoding encoding) {
    switch (encoding) {
        case Encoding::SJIS:
            return "windows-31j";
        case Encoding::EUC:
            return "EUC-JP";
        case Encoding::JIS:
            return "ISO-2022-JP";
        case Encoding::UTF7:
            return "UTF-7";
        case Encoding::UTF8:
            return "UTF-8";
        case Encoding::Unicode:
            return "UTF-16LE";
    }
    return "UTF-8";
}

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

}  // namespace

std::optional<Encoding> ParseTableEncoding(std::string_view name) {
    for (const EncodingAlias& alias : kAliases) {
        if (SameIgnoringCase(alias.name, name)) {
            return alias.encoding;
        }
    }
    return std::nullopt;
}

std::u16string_view StorageName(Encoding encoding) {
    switch (encoding) {
        case Encoding::SJIS:
            return u"Shift_JIS";
        case Encoding::EUC:
            return u"EUC-JP";
        case Encoding::JIS:
            return u"ISO-2022-JP";
        case Encoding::UTF7:
            return u"UTF-7";
        case Encoding::UTF8:
            return u"UTF-8";
        case Encoding::Unicode:
            return u"UTF-16LE";
    }
    return u"";
}

std::u16string StorageNote(Encoding encoding) {
    return u"保存形式: " + std::u16string(StorageName(encoding));
}

std::u16string UnstorableNote(Encoding encoding, std::size_t count) {
    const std::string n = std::to_string(count);
    return u"保存形式 " + std::u16string(StorageName(encoding)) + u" で書けない文字の行 " +
           std::u16string(n.begin(), n.end()) + u" 個は入れていません。";
}

TableWriter::TableWriter(Encoding encoding)
    : encoding_(encoding), converter_(OpenIcuConverter(ConverterName(encoding))) {
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
    switch (encoding_) {
        case Encoding::Unicode:
            bytes.insert(bytes.begin(), {0xFF, 0xFE});
            break;
        case Encoding::UTF8:
            bytes.insert(bytes.begin(), {0xEF, 0xBB, 0xBF});
            break;
        case Encoding::UTF7:
            bytes = CloseBase64Runs(bytes);
            break;
        default:
            break;
    }
    return bytes;
}

}  // namespace zelkora
