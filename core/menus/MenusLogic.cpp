#include "core/menus/MenusLogic.h"

namespace zelkora {
namespace {

std::u16string Decimal(int value) {
    std::u16string digits;
    for (const char c : std::to_string(value)) {
        digits.push_back(static_cast<char16_t>(c));
    }
    return digits;
}

bool IsAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

}  // namespace

std::u16string fVersionText(std::u16string_view title, int major, int minor, int revision,
                            std::u16string_view author) {
    std::u16string text(title);
    text.append(u" Ver").append(Decimal(major)).append(u".").append(Decimal(minor));
    text.append(u".").append(Decimal(revision)).append(u"\r\n");
    text.append(u"作者 ").append(author);
    return text;
}

std::u16string fParentFolder(std::u16string_view path) {
    const std::size_t separator = path.find_last_of(u"\\/");
    if (separator == std::u16string_view::npos) {
        return {};
    }
    return std::u16string(path.substr(0, separator));
}

bool IsAddress(std::u16string_view target) {
    const std::size_t colon = target.find(u':');
    if (colon == std::u16string_view::npos || colon < 2 || !IsAsciiLetter(target[0])) {
        return false;
    }
    for (const char16_t c : target.substr(1, colon - 1)) {
        const bool schemeCharacter =
            IsAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.';
        if (!schemeCharacter) {
            return false;
        }
    }
    return true;
}

std::u16string ShellDirectory(std::u16string_view target, std::u16string_view directory) {
    if (directory != kDeriveDirectory) {
        return std::u16string(directory);
    }
    return IsAddress(target) ? std::u16string() : fParentFolder(target);
}

}  // namespace zelkora
