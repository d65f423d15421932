#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "core/common/TextLines.h"

namespace zelkora::cli {

// How many characters of a text had no code, and where the first `shown` of them are, one a
// line, in UTF-8: gathered over the pieces of a text converted a piece at a time. The two
// halves of a surrogate pair count as one character.
class UnmatchedCharactersReport {
public:
    explicit UnmatchedCharactersReport(std::size_t shown = 10) : shown_(shown) {}

    // text: a piece of the text as converted, which begins at `start` of it and does not end
    // inside a surrogate pair; offsets: where text to codes wrote "??" for it, in increasing
    // order.
    void Add(std::u16string_view text, std::span<const std::size_t> offsets,
             TextPosition start = {});
    // Empty when every character had a code.
    [[nodiscard]] std::string Text() const;

private:
    std::size_t shown_;
    std::size_t count_ = 0;
    std::string entries_;
};

// What codes to text echoed, as a report like the one above: gathered over one conversion, or
// over many when lines are converted one by one. Each code is named by its place among the
// non-empty elements of its conversion, which may come in pieces.
class UnmatchedCodesReport {
public:
    explicit UnmatchedCodesReport(std::size_t shown = 10) : shown_(shown) {}

    // codes as converted (after spacing); offsets where the echoed elements start in them, in
    // increasing order; `where` goes before each name: "line 3, " for one line of many.
    void Add(std::u16string_view codes, std::span<const std::size_t> offsets,
             std::string_view where = {});
    // The next piece of the conversion the last Add or Continue began: its elements are
    // numbered on from those before. Pieces begin and end between elements.
    void Continue(std::u16string_view codes, std::span<const std::size_t> offsets);
    // Empty when nothing was echoed.
    [[nodiscard]] std::string Text() const;

private:
    std::size_t shown_;
    std::size_t count_ = 0;
    std::string entries_;
    std::size_t elementsBefore_ = 0;  // in earlier pieces of the conversion
    std::string where_;
};

}  // namespace zelkora::cli
