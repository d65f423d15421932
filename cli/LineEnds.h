#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelkora::cli {

// The window's input box hands its text to the conversions with every line break as CR LF and
// never ends it with one. A script's input ends its lines with LF, CR LF or a lone CR and usually
// ends with a line end. These functions map the one onto the other, and cut the input into lines.

inline constexpr std::u16string_view kBoxLineBreak = u"\r\n";

// The length of the line end that begins at `at`: 2 for CR LF, 1 for LF or a lone CR, 0 for none.
[[nodiscard]] std::size_t LineEndAt(std::u16string_view text, std::size_t at);

// A stretch of text and the line end that follows it (empty when none does).
struct Line {
    std::u16string_view text;
    std::u16string_view end;
};

// The line that begins at `from`, which is less than text.size().
[[nodiscard]] Line LineAt(std::u16string_view text, std::size_t from);

// The input split as the box would see it: everything before the final line end, and that line
// end, which ends the input rather than being part of it.
[[nodiscard]] Line SplitFinalLineEnd(std::u16string_view text);

// How line breaks in a result are written back: like the first line end of the input (LF, CR LF
// or CR), so that a mixed file follows its first line; LF when the input has no line end.
[[nodiscard]] std::u16string_view LineBreakStyle(std::u16string_view text);

// The text with each line end as CR LF: the text itself when it has only CR LF pairs, else a
// copy made in `storage`.
[[nodiscard]] std::u16string_view AsBoxText(std::u16string_view text, std::u16string& storage);

// Writes each CR LF of UTF-8 text as lineBreak (at most two bytes, so in place).
void WriteBoxLineBreaksAs(std::string& utf8, std::string_view lineBreak);

}  // namespace zelkora::cli
