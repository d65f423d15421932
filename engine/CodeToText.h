#pragma once

#include <string>
#include <string_view>

#include "engine/CodeTable.h"

namespace zelkora {

// Codes to text: elements cut at every U+0020, one- and two-byte lookups, unmatched codes
// echoed as hexadecimal between spaces. lineBreakOption is the option's state at call time.
[[nodiscard]] std::u16string fCodeToText(const CodeTable& table, std::u16string_view codes,
                                         bool lineBreakOption);

}  // namespace zelkora
