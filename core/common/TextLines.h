#pragma once

// Lines and places in text as an editor counts them: CR LF, a lone LF and a lone CR each end a
// line, and a surrogate pair is one character. (The table reader cuts its lines by a rule of its
// own, CutTableLines.)

#include <cstddef>
#include <string_view>

namespace zelkora {

// The length of the line end that begins at `at`: 2 for CR LF, 1 for LF or a lone CR, 0 for
// none.
[[nodiscard]] std::size_t LineEndAt(std::u16string_view text, std::size_t at);

// The first CR or LF at or after `from`; npos when there is none.
[[nodiscard]] std::size_t FindLineEnd(std::u16string_view text, std::size_t from);

// A stretch of text and the line end that follows it (empty when none does).
struct Line {
    std::u16string_view text;
    std::u16string_view end;
};

// The line that begins at `from`, which is less than text.size().
[[nodiscard]] Line LineAt(std::u16string_view text, std::size_t from);

// Where an offset (in UTF-16 code units) lies, as an editor shows it: line and column from 1.
struct TextPosition {
    std::size_t line = 1;
    std::size_t column = 1;
};

// Walks a text forward to offsets that never decrease, so that places in file order cost one
// pass over the text in all.
class TextWalker {
public:
    explicit TextWalker(std::u16string_view text) : text_(text) {}

    // An offset inside a CR LF pair lies at the end of its line.
    [[nodiscard]] TextPosition At(std::size_t offset);

private:
    std::u16string_view text_;
    std::size_t at_ = 0;
    TextPosition position_;
};

[[nodiscard]] TextPosition PositionOf(std::u16string_view text, std::size_t offset);

// A place `within` a piece of text that begins at `start` of a longer one, as a place in that.
[[nodiscard]] TextPosition Continued(TextPosition start, TextPosition within);

// The character at the offset: both halves when it starts a surrogate pair.
[[nodiscard]] std::u16string_view CharacterAt(std::u16string_view text, std::size_t at);

}  // namespace zelkora
