#include "core/common/TextLines.h"

#include <unicode/utf16.h>

namespace zelkora {

std::size_t LineEndAt(std::u16string_view text, std::size_t at) {
    if (at >= text.size()) {
        return 0;
    }
    if (text[at] == u'\r') {
        return at + 1 < text.size() && text[at + 1] == u'\n' ? 2 : 1;
    }
    return text[at] == u'\n' ? 1 : 0;
}

// An input of megabytes may have no line end at all (a line of codes), so blocks of 16 units are
// looked at whole first: that loop vectorises, where a search for one of two characters goes unit
// by unit.
std::size_t FindLineEnd(std::u16string_view text, std::size_t from) {
    constexpr std::size_t kBlock = 16;
    for (; from + kBlock <= text.size(); from += kBlock) {
        const char16_t* block = text.data() + from;
        // Kept a loop, so that GCC vectorises it instead of unrolling it into 16 tests; a bool
        // or || in place of | stops it as well.
        unsigned found = 0;
#pragma GCC unroll 1
        for (std::size_t k = 0; k < kBlock; ++k) {
            found |= (block[k] == u'\r') | (block[k] == u'\n');
        }
        if (found != 0) {
            break;
        }
    }
    for (; from < text.size(); ++from) {
        if (text[from] == u'\r' || text[from] == u'\n') {
            return from;
        }
    }
    return std::u16string_view::npos;
}

Line LineAt(std::u16string_view text, std::size_t from) {
    std::size_t end = FindLineEnd(text, from);
    if (end == std::u16string_view::npos) {
        end = text.size();
    }
    return {text.substr(from, end - from), text.substr(end, LineEndAt(text, end))};
}

TextPosition TextWalker::At(std::size_t offset) {
    while (at_ < offset && at_ < text_.size()) {
        const std::size_t end = LineEndAt(text_, at_);
        if (end > 0 && at_ + end > offset) {
            break;
        }
        if (end > 0) {
            ++position_.line;
            position_.column = 1;
            at_ += end;
            continue;
        }
        // The second half of a pair takes no column of its own.
        position_.column += at_ == 0 || !U16_IS_TRAIL(text_[at_]) || !U16_IS_LEAD(text_[at_ - 1]);
        ++at_;
    }
    return position_;
}

TextPosition Continued(TextPosition start, TextPosition within) {
    return within.line == 1 ? TextPosition{start.line, start.column + within.column - 1}
                            : TextPosition{start.line + within.line - 1, within.column};
}

TextPosition PositionOf(std::u16string_view text, std::size_t offset) {
    return TextWalker(text).At(offset);
}

std::u16string_view CharacterAt(std::u16string_view text, std::size_t at) {
    const bool pair = at + 1 < text.size() && U16_IS_LEAD(text[at]) && U16_IS_TRAIL(text[at + 1]);
    return text.substr(at, pair ? 2 : 1);
}

}  // namespace zelkora
