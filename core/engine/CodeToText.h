#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/engine/CodeTable.h"

namespace zelkora {

// Codes to text: elements cut at every U+0020, one- and two-byte lookups, unmatched codes
// echoed as hexadecimal between spaces. lineBreakOption is the option's state at call time.
// When unmatched is given, it receives the offset in codes of each element echoed, in order.
[[nodiscard]] std::u16string fCodeToText(const CodeTable& table, std::u16string_view codes,
                                         bool lineBreakOption,
                                         std::vector<std::size_t>* unmatched = nullptr);

// Codes to text over codes that arrive a piece at a time, as a stream is read: the results,
// joined, are what fCodeToText gives for all of the codes at once. Holds no codes itself.
class CodeToTextStream {
public:
    CodeToTextStream(const CodeTable& table, bool lineBreakOption)
        : table_(&table), lineBreakOption_(lineBreakOption) {}

    // Converts the elements at the start of `codes` (what was not taken before, followed by
    // what arrived since) that convert now as they will with the codes still to come: all of
    // them when `last`. Appends their text to `text`, and the offsets in `codes` of the elements
    // echoed to `unmatched` when given; returns how many code units were taken. The rest is
    // handed in again with the next piece.
    std::size_t Convert(std::u16string_view codes, bool last, std::u16string& text,
                        std::vector<std::size_t>* unmatched = nullptr);

private:
    const CodeTable* table_;
    bool lineBreakOption_;
    bool heldBackslash_ = false;  // ended the text so far; an n may follow in the next part
};

}  // namespace zelkora
