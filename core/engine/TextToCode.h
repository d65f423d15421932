#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/engine/CodeTable.h"

namespace zelkora {

// The line-break token: a backslash followed by the letter n.
inline constexpr std::u16string_view kLineBreakToken = u"\\n";

// Text to codes: one group per character (or CR LF pair / line-break token), each followed by
// one space, "??" for what the table lacks. lineBreakOption is the option's state at call time.
// When unmatched is given, it receives the offset in text of each "??" group, in order.
[[nodiscard]] std::u16string fTextToCode(const CodeTable& table, std::u16string_view text,
                                         bool lineBreakOption,
                                         std::vector<std::size_t>* unmatched = nullptr);

// How much of a text that more will follow converts to codes as it will then: all of it but a
// final CR or backslash, which may begin a CR LF pair or the line-break token with what follows.
[[nodiscard]] std::size_t TextBeforeMore(std::u16string_view text);

// "123" -> "0123": a leading zero for odd lengths.
[[nodiscard]] std::u16string fEvenDigits(std::u16string_view codeText);

// "3042" -> "42 30": byte groups, lowest byte first; fewer than 4 digits unchanged.
[[nodiscard]] std::u16string fReverseBytes(std::u16string_view evenCodeText);

}  // namespace zelkora
