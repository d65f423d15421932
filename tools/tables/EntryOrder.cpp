#include "tools/tables/EntryOrder.h"

#include <algorithm>
#include <bitset>

namespace zelkora {

bool OneByteShadowsTwoByte(std::span<const std::uint32_t> oneByteCodes,
                           std::span<const std::uint32_t> twoByteCodes) {
    std::bitset<256> single;
    for (const std::uint32_t code : oneByteCodes) {
        if (code <= 0xFF) {
            single.set(code);
        }
    }
    return std::ranges::any_of(twoByteCodes,
                               [&](std::uint32_t code) { return single.test(code & 0xFF); });
}

}  // namespace zelkora
