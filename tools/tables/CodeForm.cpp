#include "tools/tables/CodeForm.h"

#include "core/engine/TextToCode.h"

namespace zelkora {

std::u16string SwapByteGroups(std::u16string_view twoByteCode) {
    const std::u16string digits = fEvenDigits(twoByteCode);
    return digits.substr(2) + digits.substr(0, 2);
}

std::u16string FileOrderNote(std::u16string_view character, std::u16string_view leadByteFirstCode) {
    return u"2 バイトのコードはバイトを逆にして書いています（例: " + std::u16string(character) +
           u" のバイト " + fReverseBytes(SwapByteGroups(leadByteFirstCode)) + u" は " +
           SwapByteGroups(leadByteFirstCode) +
           u"）。文字→コードの変換ではファイルに並ぶ順のバイトになり、コード→文字の変換もその順で"
           u"読みます。";
}

}  // namespace zelkora
