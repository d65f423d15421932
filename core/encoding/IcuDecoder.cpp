#include "core/encoding/IcuDecoder.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace zelkora {

namespace {

// ICU's own substitution is U+001A for some single bytes; the table checker and the tests want
// one recognisable U+FFFD for every substitution, and a count of them.
void U_CALLCONV SubstituteAndCount(const void* context, UConverterToUnicodeArgs* args,
                                   const char* /*codeUnits*/, int32_t /*length*/,
                                   UConverterCallbackReason reason, UErrorCode* error) {
    if (reason != UCNV_UNASSIGNED && reason != UCNV_ILLEGAL && reason != UCNV_IRREGULAR) {
        return;
    }
    static constexpr UChar kReplacement = u'\uFFFD';
    *error = U_ZERO_ERROR;
    ucnv_cbToUWriteUChars(args, &kReplacement, 1, 0, error);
    ++*static_cast<std::size_t*>(const_cast<void*>(context));
}

// ICU's Windows-31J table comes from IBM's code page 943, which rotates three control codes
// (0x1A to U+001C, 0x1C to U+007F, 0x7F to U+001A); Windows maps them to themselves. Only these
// three bytes produce those code units, so undoing the rotation on the output is exact.
constexpr char kIbmRotatingTable[] = "ibm-943_P15A-2003";

bool HasRotatedControl(std::span<const std::uint8_t> bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](std::uint8_t b) { return b == 0x1A || b == 0x1C || b == 0x7F; });
}

void UndoControlRotation(std::u16string::iterator begin, std::u16string::iterator end) {
    for (auto it = begin; it != end; ++it) {
        switch (*it) {
            case u'\x1C':
                *it = u'\x1A';
                break;
            case u'\x7F':
                *it = u'\x1C';
                break;
            case u'\x1A':
                *it = u'\x7F';
                break;
            default:
                break;
        }
    }
}

}  // namespace

IcuDecoder::IcuDecoder(const char* charset) {
    if (charset == nullptr || *charset == '\0') {
        return;  // ICU would open the platform's default charset instead
    }
    IcuConverter converter = OpenIcuConverter(charset);
    if (!converter) {
        return;
    }
    UErrorCode error = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter.get(), SubstituteAndCount, &substitutions_, nullptr, nullptr,
                        &error);
    if (U_FAILURE(error)) {
        return;
    }
    const char* name = ucnv_getName(converter.get(), &error);
    rotatesControls_ = U_SUCCESS(error) && std::strcmp(name, kIbmRotatingTable) == 0;
    converter_ = std::move(converter);
}

bool IcuDecoder::Append(std::span<const std::uint8_t> bytes, std::u16string& text) {
    if (converter_ == nullptr) {
        return false;
    }
    ucnv_resetToUnicode(converter_.get());
    const std::size_t start = text.size();
    // One code unit a byte is enough for the Japanese charsets and UTF-8; other charsets may
    // need more, and the loop grows the text for them.
    text.resize(start + bytes.size() + 1);
    const char* source = reinterpret_cast<const char*>(bytes.data());
    const char* const sourceLimit = source + bytes.size();
    std::size_t written = start;
    UErrorCode error = U_ZERO_ERROR;
    for (;;) {
        UChar* target = text.data() + written;
        ucnv_toUnicode(converter_.get(), &target, text.data() + text.size(), &source, sourceLimit,
                       nullptr, true, &error);
        written = static_cast<std::size_t>(target - text.data());
        if (error != U_BUFFER_OVERFLOW_ERROR) {
            break;
        }
        error = U_ZERO_ERROR;
        text.resize(text.size() + (text.size() - start) + 16);
    }
    text.resize(written);
    if (U_FAILURE(error)) {
        return false;
    }
    if (rotatesControls_ && HasRotatedControl(bytes)) {
        UndoControlRotation(text.begin() + static_cast<std::ptrdiff_t>(start), text.end());
    }
    return true;
}

std::u16string DecodeWithIcu(const char* charset, std::span<const std::uint8_t> bytes,
                             std::size_t* substitutions) {
    if (substitutions != nullptr) {
        *substitutions = 0;
    }
    IcuDecoder decoder(charset);
    std::u16string text;
    if (!decoder.Append(bytes, text)) {
        return {};
    }
    if (substitutions != nullptr) {
        *substitutions = decoder.Substitutions();
    }
    return text;
}

}  // namespace zelkora
