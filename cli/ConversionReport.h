#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace zelkora::cli {

// How many characters of a text had no code, and where the first `shown` of them are, one a
// line, in UTF-8. offsets are where text to codes wrote "??", in increasing order; the two
// halves of a surrogate pair count as one character. Empty when nothing was unmatched.
[[nodiscard]] std::string ReportUnmatchedCharacters(std::u16string_view text,
                                                    std::span<const std::size_t> offsets,
                                                    std::size_t shown = 10);

// What codes to text echoed, as a report like the one above: gathered over one conversion, or
// over many when lines are converted one by one. Each code is named by its place among the
// non-empty elements of its conversion.
class UnmatchedCodesReport {
public:
    explicit UnmatchedCodesReport(std::size_t shown = 10) : shown_(shown) {}

    // codes as converted (after spacing); offsets where the echoed elements start in them, in
    // increasing order; `where` goes before each name: "line 3, " for one line of many.
    void Add(std::u16string_view codes, std::span<const std::size_t> offsets,
             std::string_view where = {});
    // Empty when nothing was echoed.
    [[nodiscard]] std::string Text() const;

private:
    std::size_t shown_;
    std::size_t count_ = 0;
    std::string entries_;
};

}  // namespace zelkora::cli
