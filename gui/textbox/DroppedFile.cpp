#include "gui/textbox/DroppedFile.h"

#include <algorithm>
#include <system_error>

#include "core/common/FileBytes.h"
#include "core/encoding/DecodeText.h"

namespace zelkora {
namespace {

// Tabs, line ends and page breaks are at home in text; NUL and the other C0 controls are what
// a binary file decodes to, whichever encoding it is taken for.
bool IsBinaryControl(char16_t c) {
    return c < u' ' && c != u'\t' && c != u'\n' && c != u'\v' && c != u'\f' && c != u'\r';
}

}  // namespace

std::error_code make_error_code(DropRefusal refusal) {
    static constexpr const char* kWords[] = {"not a text file", "larger than 64 MiB"};
    return OwnErrorCode(refusal, "dropped file", kWords);
}

DroppedText TextOfDroppedBytes(std::span<const std::uint8_t> bytes) {
    std::u16string text = DecodeTableBytes(bytes);
    if (std::any_of(text.begin(), text.end(), IsBinaryControl)) {
        return DropRefusal::NotText;
    }
    return text;
}

DroppedText TextOfDroppedFile(const std::filesystem::path& file) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (!error && size > kDropLimit) {
        return DropRefusal::TooLarge;
    }
    const auto bytes = ReadFileBytes(file);
    if (!bytes) {
        return bytes.error();
    }
    return TextOfDroppedBytes(*bytes);
}

std::u16string DropRefusalMessage(std::error_code why, std::u16string_view fileName) {
    const std::u16string file = u"「" + std::u16string(fileName) + u"」";
    if (why == DropRefusal::NotText) {
        return file + u"はテキストファイルではないため、挿入できません。";
    }
    if (why == DropRefusal::TooLarge) {
        return file + u"は 64 MiB より大きいため、挿入できません。";
    }
    return file + u"を読み込めませんでした。";
}

}  // namespace zelkora
