#include "encoding/Utf8.h"

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

// Walks a UTF-8 byte string: onValid(c) for each well-formed character, onInvalid(begin, end)
// for each maximal ill-formed stretch (all of its bytes are 0x80 or above); stops early when
// a callback returns false.
template <typename OnValid, typename OnInvalid>
void WalkUtf8(std::string_view utf8, OnValid onValid, OnInvalid onInvalid) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(utf8.data());
    const std::size_t size = utf8.size();
    std::size_t i = 0;
    while (i < size) {
        const std::size_t start = i;
        UChar32 c = 0;
        U8_NEXT(bytes, i, size, c);
        if (!(c < 0 ? onInvalid(start, i) : onValid(c))) {
            return;
        }
    }
}

}  // namespace

std::optional<std::u16string> Utf8ToUtf16Strict(std::string_view utf8, std::size_t* badOffset) {
    std::u16string text;
    text.reserve(utf8.size());
    std::optional<std::size_t> bad;
    WalkUtf8(
        utf8,
        [&](UChar32 c) {
            AppendUtf16(text, c);
            return true;
        },
        [&](std::size_t begin, std::size_t) {
            bad = begin;
            return false;
        });
    if (bad) {
        if (badOffset != nullptr) {
            *badOffset = *bad;
        }
        return std::nullopt;
    }
    return text;
}

// Sized exactly before it is written: a converted result runs to megabytes, so reserving three
// bytes a unit would mostly go unused, and growing by doubling would copy it. Each unit takes
// one to three bytes (a lone surrogate becomes the three of U+FFFD), and a valid pair takes four
// rather than six. ASCII, the bulk of codes and of most tables, is copied without decoding.
std::string Utf16ToUtf8(std::u16string_view text) {
    const auto replaced = [](UChar32 c) { return U_IS_SURROGATE(c) ? 0xFFFD : c; };
    std::size_t length = text.size();
    for (const char16_t c : text) {
        length += static_cast<std::size_t>(c >= 0x80) + static_cast<std::size_t>(c >= 0x800);
    }
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        const bool pair = U16_IS_LEAD(text[i]) & U16_IS_TRAIL(text[i + 1]);
        length -= 2 * static_cast<std::size_t>(pair);
    }
    std::string utf8(length, '\0');
    auto* out = reinterpret_cast<std::uint8_t*>(utf8.data());
    std::size_t i = 0;
    while (i < text.size()) {
        for (; i < text.size() && text[i] < 0x80; ++i) {
            *out++ = static_cast<std::uint8_t>(text[i]);
        }
        if (i < text.size()) {
            UChar32 c = 0;
            U16_NEXT(text.data(), i, text.size(), c);
            std::size_t written = 0;
            U8_APPEND_UNSAFE(out, written, replaced(c));
            out += written;
        }
    }
    return utf8;
}

std::u16string FileNameToText(std::string_view raw) {
    std::u16string text;
    text.reserve(raw.size());
    WalkUtf8(
        raw,
        [&](UChar32 c) {
            AppendUtf16(text, c);
            return true;
        },
        [&](std::size_t begin, std::size_t end) {
            for (std::size_t k = begin; k < end; ++k) {
                text.push_back(
                    static_cast<char16_t>(kEscapeBase + static_cast<std::uint8_t>(raw[k])));
            }
            return true;
        });
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
