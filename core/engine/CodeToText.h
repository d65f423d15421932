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

}  // namespace zelkora
