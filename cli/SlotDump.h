#pragma once

// dump: the slots of a table as they were read, for people and scripts to inspect.

#include <string>

#include "core/engine/CodeTable.h"

namespace zelkora::cli {

// The slots that hold something, one line each: line number counted from 1 (slot index + 1),
// code text, code value in hexadecimal, character. Tabs separate the fields; backslashes,
// spaces, control characters and lone surrogates in the texts are escaped (\\, \x20, \r, \n,
// \t, \xHH, \uHHHH) so that every character can be seen.
[[nodiscard]] std::u16string FormatSlots(const CodeTable& table);

}  // namespace zelkora::cli
