#include "engine/CodeTable.h"

#include <algorithm>

#include "engine/TextToCode.h"

namespace zelkora {

namespace {

// Slots present in all three arrays; a table whose arrays disagree is never read past the end.
std::size_t UsableSlots(const CodeTable& table) {
    return std::min({table.Codes.size(), table.Characters.size(), table.CodeTexts.size()});
}

// Slots are visited in file order and an entry is only filled while still empty, so every key
// keeps its earliest slot: the earliest line wins, as in a scan from slot 0.
CodeTable::Index MakeIndex(const CodeTable& table) {
    using Index = CodeTable::Index;
    Index index;
    index.byCharacter.assign(0x10000, Index::kNone);
    index.oneByte.assign(0x100, Index::kNone);
    index.twoByte.assign(0x10000, Index::kNone);
    const std::size_t slots = UsableSlots(table);
    for (std::size_t i = 0; i < slots; ++i) {
        const auto slot = static_cast<std::int32_t>(i);
        const std::u16string& characters = table.Characters[i];
        if (characters.size() == 1) {
            std::int32_t& first = index.byCharacter[characters.front()];
            if (first == Index::kNone) {
                first = slot;
            }
        } else if (characters == kLineBreakToken && index.lineBreakToken == Index::kNone) {
            index.lineBreakToken = slot;
        }

        const std::size_t width = table.CodeTexts[i].size();
        const std::int32_t code = table.Codes[i];
        if (width == 0) {
            continue;  // no code: found by its character only
        }
        if (width <= 2) {
            if (code >= 0 && code <= 0xFF && index.oneByte[code] == Index::kNone) {
                index.oneByte[code] = slot;
            }
        } else if (code >= 0 && code <= 0xFFFF) {
            if (index.twoByte[code] == Index::kNone) {
                index.twoByte[code] = slot;
            }
        } else {
            index.twoByteWide.try_emplace(code, slot);
        }
    }
    index.slotCount = slots;
    index.built = true;
    return index;
}

}  // namespace

void CodeTable::BuildIndex() {
    index = MakeIndex(*this);
}

const CodeTable::Index& CodeTable::CurrentIndex(Index& scratch) const {
    if (index.built && index.slotCount == UsableSlots(*this)) {
        return index;
    }
    scratch = MakeIndex(*this);
    return scratch;
}

}  // namespace zelkora
