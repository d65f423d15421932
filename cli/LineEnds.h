#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/common/TextLines.h"

namespace zelkora::cli {

// The window's input box hands its text to the conversions with every line break as CR LF and
// never ends it with one. A script's input ends its lines with LF, CR LF or a lone CR and usually
// ends with a line end. These functions map the one onto the other; the lines themselves are cut
// as editors cut them (core/common/TextLines.h).

inline constexpr std::u16string_view kBoxLineBreak = u"\r\n";

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
