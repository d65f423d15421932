#pragma once

// How find shows a hit: the bytes around it read through the table, on one line.

#include <string>
#include <string_view>

#include "core/engine/CodeTable.h"
#include "tools/binary/ByteSearch.h"

namespace zelkora {

// The bytes before the hit, the hit and the bytes after it, each converted on its own as
// to-text converts bytes (so the hit reads as the text searched for, whatever the bytes before
// it begin with), then kept on one line.
[[nodiscard]] std::u16string ContextText(const CodeTable& table, const ByteHit& hit);

// The text with every character that would break a line or hide in it shown as an escape:
// \xHH for control characters (C0, DEL and C1) and \uHHHH for U+2028 and U+2029.
[[nodiscard]] std::u16string OnOneLine(std::u16string_view text);

}  // namespace zelkora
