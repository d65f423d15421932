#include "tools/binary/TableBytes.h"

#include <algorithm>

#include "core/common/TextLines.h"
#include "core/engine/CodeToText.h"
#include "core/engine/ConversionThreads.h"
#include "core/engine/HexCode.h"
#include "core/engine/TextToCode.h"
#include "tools/common/QuoteText.h"

namespace zelkora {
namespace {

// The offset of the character whose codes hold element `element` (from 0) of the text's codes.
// Only a message needs it, so each piece is converted again on its own, the text cut where the
// conversion itself may cut it: a CR LF pair or a backslash-n is one piece.
std::size_t CharacterOfElement(const CodeTable& table, std::u16string_view text,
                               bool lineBreakOption, std::size_t element) {
    std::size_t seen = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = TextCut(text, start + 1);
        const std::u16string codes =
            fTextToCode(table, text.substr(start, end - start), lineBreakOption);
        seen += static_cast<std::size_t>(std::ranges::count(codes, u' '));
        if (seen > element) {
            return start;
        }
        start = end;
    }
    return text.size();
}

}  // namespace

TextBytes TextToBytes(const CodeTable& table, std::u16string_view text, bool lineBreakOption) {
    std::vector<std::size_t> unmatched;
    const std::u16string codes = fTextToCode(table, text, lineBreakOption, &unmatched);
    TextBytes result;
    result.bytes.reserve(codes.size() / 3);
    // Every element is followed by a space, so the loop never reads past the codes. A "??" is
    // not hexadecimal: the bytes stop at the first character the table lacks too.
    for (std::size_t at = 0; at < codes.size();) {
        const std::size_t space = codes.find(u' ', at);
        const std::u16string_view element = std::u16string_view(codes).substr(at, space - at);
        const auto value = element.size() == 2 ? ParseHexCode(element) : std::nullopt;
        if (!value) {
            const std::size_t offset =
                CharacterOfElement(table, text, lineBreakOption, result.bytes.size());
            const bool lacking = !unmatched.empty() && unmatched.front() == offset;
            result.fault = UncodableCharacter{offset, lacking ? u"" : std::u16string(element)};
            return result;
        }
        result.bytes.push_back(static_cast<std::uint8_t>(*value));
        at = space + 1;
    }
    return result;
}

std::string UncodableMessage(std::u16string_view text, const UncodableCharacter& fault,
                             TextPosition start) {
    const TextPosition at = Continued(start, PositionOf(text, fault.offset));
    std::string message = QuoteText(CharacterAt(text, fault.offset)) + " (line " +
                          std::to_string(at.line) + ", column " + std::to_string(at.column) + ")";
    if (fault.code.empty()) {
        return message + " has no code in the table";
    }
    return message + " has the code " + QuoteText(fault.code) +
           ", which is not two hexadecimal digits a byte";
}

void AppendByteCodes(std::span<const std::uint8_t> bytes, std::u16string& codes) {
    codes.reserve(codes.size() + bytes.size() * 3);
    for (const std::uint8_t byte : bytes) {
        if (!codes.empty()) {
            codes.push_back(u' ');
        }
        char16_t digits[2];
        codes.append(digits, WriteHexDigits(digits, byte, 2));
    }
}

std::u16string BytesToText(const CodeTable& table, std::span<const std::uint8_t> bytes,
                           bool lineBreakOption) {
    std::u16string codes;
    AppendByteCodes(bytes, codes);
    return fCodeToText(table, codes, lineBreakOption);
}

}  // namespace zelkora
