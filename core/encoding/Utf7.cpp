#include "core/encoding/Utf7.h"

#include "core/encoding/Base64Alphabet.h"

namespace zelkora {

std::u16string DecodeUtf7(std::span<const std::uint8_t> bytes, std::size_t* substitutions) {
    std::u16string text;
    text.reserve(bytes.size());
    std::size_t substituted = 0;
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    while (i < size) {
        const std::uint8_t b = bytes[i++];
        if (b >= 0x80) {
            text.push_back(u'\uFFFD');
            ++substituted;
            continue;
        }
        if (b != '+' || i == size || !IsBase64(bytes[i])) {
            text.push_back(static_cast<char16_t>(b));
            i += b == '+' && i < size && bytes[i] == '-' ? 1 : 0;
            continue;
        }
        std::uint32_t bits = 0;
        int bitCount = 0;
        for (; i < size && IsBase64(bytes[i]); ++i) {
            bits = (bits << 6 | kBase64Values[bytes[i]]) & 0x3FFFFF;
            bitCount += 6;
            if (bitCount >= 16) {
                bitCount -= 16;
                text.push_back(static_cast<char16_t>(bits >> bitCount));
            }
        }
        i += i < size && bytes[i] == '-' ? 1 : 0;
    }
    if (substitutions != nullptr) {
        *substitutions = substituted;
    }
    return text;
}

}  // namespace zelkora
