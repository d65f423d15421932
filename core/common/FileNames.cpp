#include "core/common/FileNames.h"

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <cstdint>

namespace zelkora {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // byte b is escaped as kEscapeBase + b (b >= 0x80)

void AppendUtf16(std::u16string& text, UChar32 c) {
    if (c <= 0xFFFF) {
        text.push_back(static_cast<char16_t>(c));
    } else {
        text.push_back(U16_LEAD(c));
        text.push_back(U16_TRAIL(c));
    }
}

void AppendUtf8(std::string& text, UChar32 c) {
    std::uint8_t buffer[U8_MAX_LENGTH];
    std::size_t length = 0;
    U8_APPEND_UNSAFE(buffer, length, c);
    text.append(reinterpret_cast<const char*>(buffer), length);
}

}  // namespace

std::u16string FileNameToText(std::string_view raw) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(raw.data());
    std::u16string text;
    text.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size();) {
        const std::size_t start = i;
        UChar32 c = 0;
        U8_NEXT(bytes, i, raw.size(), c);
        if (c >= 0) {
            AppendUtf16(text, c);
            continue;
        }
        // Each byte of an ill-formed stretch, all of them 0x80 or above, stands for itself.
        for (std::size_t k = start; k < i; ++k) {
            text.push_back(static_cast<char16_t>(kEscapeBase + bytes[k]));
        }
    }
    return text;
}

std::string TextToFileName(std::u16string_view text) {
    std::string raw;
    raw.reserve(text.size() * 3);
    std::size_t i = 0;
    while (i < text.size()) {
        UChar32 c = 0;
        U16_NEXT(text.data(), i, text.size(), c);
        if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF) {
            raw.push_back(static_cast<char>(c - kEscapeBase));
        } else {
            AppendUtf8(raw, U_IS_SURROGATE(c) ? 0xFFFD : c);
        }
    }
    return raw;
}

}  // namespace zelkora
