#include "core/encoding/modADOS.h"

#include "core/encoding/EncodingRegistry.h"
#include "core/encoding/IcuDecoder.h"
#include "core/encoding/JisDecoders.h"
#include "core/encoding/Utf7.h"

#include <string>

namespace zelkora {

namespace {

using Bytes = std::span<const std::uint8_t>;
using Decoder = std::u16string (*)(Bytes bytes, std::size_t* substitutions);

struct NamedDecoder {
    std::string_view charset;
    Decoder decode;
};

// The charsets decoded here rather than by ICU's table of the same name: the Japanese ones
// with the mapping of Windows-31J, UTF-7 leniently.
constexpr NamedDecoder kOwnDecoders[] = {
    {"ISO-2022-JP", DecodeIso2022Jp},
    {"EUC-JP", DecodeEucJp},
    {"UTF-7", DecodeUtf7},
};

}  // namespace

std::u16string DecodeWithCharset(std::string_view charset, Bytes bytes,
                                 std::size_t* substitutions) {
    for (const NamedDecoder& decoder : kOwnDecoders) {
        if (SameCharsetName(charset, decoder.charset)) {
            return decoder.decode(bytes, substitutions);
        }
    }
    return DecodeWithIcu(std::string(charset).c_str(), bytes, substitutions);
}

std::u16string FromISO2022JP(Bytes bytes) {
    return DecodeWithCharset("ISO-2022-JP", bytes);
}
std::u16string FromEUCJP(Bytes bytes) {
    return DecodeWithCharset("EUC-JP", bytes);
}
std::u16string FromUTF7(Bytes bytes) {
    return DecodeWithCharset("UTF-7", bytes);
}
std::u16string FromUTF8(Bytes bytes) {
    return DecodeWithCharset("UTF-8", bytes);
}

std::u16string FromShiftJIS(Bytes bytes, std::size_t* substitutions) {
    return DecodeWithIcu(kWindows31J, bytes, substitutions);
}

std::u16string FromUTF16LE(Bytes bytes) {
    const std::size_t skip = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE ? 2 : 0;
    std::u16string text((bytes.size() - skip) / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t at = skip + 2 * i;
        text[i] = static_cast<char16_t>(bytes[at] | bytes[at + 1] << 8);
    }
    return text;
}

}  // namespace zelkora
