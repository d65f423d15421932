#pragma once

// The table a relative search hit suggests: the whole order at the codes the hit implies, a start
// to edit and to use with -t.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "tools/binary/RelativeSearch.h"

namespace zelkora {

struct StarterTable {
    std::vector<std::uint8_t> bytes;  // the file, in UTF-8 with a byte-order mark
    std::size_t entries = 0;
    std::size_t outOfRange = 0;  // characters whose code would not fit the unit, left out
};

// One line per character of the hit's order, its code written so that the conversions give the
// unit's bytes in the order the data holds them; `command` goes into the header.
[[nodiscard]] StarterTable MakeStarterTable(const RelativeHit& hit, std::u16string_view command);

}  // namespace zelkora
