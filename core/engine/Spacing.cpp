#include "core/engine/Spacing.h"

#include "core/engine/HexCode.h"

namespace zelkora {

// Built in one pass rather than by one insertion per group, which would copy the text again for
// every group and make long pasted inputs quadratic.
std::u16string fSplitPairs(std::u16string_view text) {
    if (text.size() <= 2) {
        return std::u16string(text);
    }
    // Groups are counted from the end, so an odd length leaves a single character in front.
    const std::size_t first = text.size() % 2 == 1 ? 1 : 2;
    std::u16string result;
    result.reserve(text.size() + text.size() / 2);
    result.append(text.substr(0, first));
    for (std::size_t i = first; i < text.size(); i += 2) {
        result.push_back(u' ');
        result.append(text.substr(i, 2));
    }
    return result;
}

bool NeedsSpacing(std::u16string_view input) {
    return input.size() > 2 && input.find(u' ') == std::u16string_view::npos;
}

bool LooksLikeCodes(std::u16string_view input) {
    const std::size_t first = input.find_first_not_of(u' ');
    return first != std::u16string_view::npos && IsHexDigit(input[first]);
}

}  // namespace zelkora
