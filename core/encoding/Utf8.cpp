#include "core/encoding/Utf8.h"

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>

namespace zelkora {

namespace {

// ASCII runs, all of a line of codes, are copied a block at a time once the block is seen to
// hold ASCII only. The loops are kept loops (not unrolled into 16 steps) so that GCC vectorises
// them; decoding goes one unit at a time.
constexpr std::size_t kAsciiBlock = 16;

template <typename Unit>
bool IsAsciiBlock(const Unit* block) {
    unsigned all = 0;
#pragma GCC unroll 1
    for (std::size_t k = 0; k < kAsciiBlock; ++k) {
        all |= block[k];
    }
    return all < 0x80;
}

template <typename From, typename To>
void CopyAsciiBlock(const From* from, To* to) {
#pragma GCC unroll 1
    for (std::size_t k = 0; k < kAsciiBlock; ++k) {
        to[k] = static_cast<To>(from[k]);
    }
}

}  // namespace

std::optional<std::u16string> Utf8ToUtf16Strict(std::string_view utf8, std::size_t* badOffset) {
    std::u16string text;
    if (!AppendUtf8AsUtf16(utf8, text, badOffset)) {
        return std::nullopt;
    }
    return text;
}

// Written through a pointer into room for one unit a byte, the most UTF-8 can need, and cut to
// size at the end.
bool AppendUtf8AsUtf16(std::string_view utf8, std::u16string& text, std::size_t* badOffset) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(utf8.data());
    const std::size_t size = utf8.size();
    const std::size_t kept = text.size();
    text.resize(kept + size);
    char16_t* out = text.data() + kept;
    std::size_t i = 0;
    while (i < size) {
        for (; bytes[i] < 0x80 && i + kAsciiBlock <= size && IsAsciiBlock(bytes + i);
             i += kAsciiBlock, out += kAsciiBlock) {
            CopyAsciiBlock(bytes + i, out);
        }
        if (i == size) {
            break;
        }
        const std::size_t start = i;
        UChar32 c = 0;
        U8_NEXT(bytes, i, size, c);
        if (c < 0) {
            if (badOffset != nullptr) {
                *badOffset = start;
            }
            text.resize(kept);
            return false;
        }
        if (c <= 0xFFFF) {
            *out++ = static_cast<char16_t>(c);
        } else {
            *out++ = U16_LEAD(c);
            *out++ = U16_TRAIL(c);
        }
    }
    text.resize(static_cast<std::size_t>(out - text.data()));
    return true;
}

std::size_t CompleteUtf8Length(std::string_view utf8) {
    // Only the last few bytes can be an incomplete sequence.
    std::int32_t length = static_cast<std::int32_t>(std::min<std::size_t>(utf8.size(), 4));
    const std::size_t before = utf8.size() - static_cast<std::size_t>(length);
    const auto* end = reinterpret_cast<const std::uint8_t*>(utf8.data() + before);
    U8_TRUNCATE_IF_INCOMPLETE(end, 0, length);
    return before + static_cast<std::size_t>(length);
}

bool IsUtf8BeyondAscii(std::string_view utf8) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(utf8.data());
    const std::size_t size = utf8.size();
    bool beyondAscii = false;
    std::size_t i = 0;
    while (i < size) {
        if (bytes[i] < 0x80 && i + kAsciiBlock <= size && IsAsciiBlock(bytes + i)) {
            i += kAsciiBlock;
            continue;
        }
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        UChar32 c = 0;
        U8_NEXT(bytes, i, size, c);
        if (c < 0) {
            return false;
        }
        beyondAscii = true;
    }
    return beyondAscii;
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
        for (; text[i] < 0x80 && i + kAsciiBlock <= text.size() && IsAsciiBlock(&text[i]);
             i += kAsciiBlock, out += kAsciiBlock) {
            CopyAsciiBlock(&text[i], out);
        }
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

}  // namespace zelkora
