#include "core/engine/CodeTable.h"

#include "core/engine/TextToCode.h"

namespace zelkora {

namespace {

// Slots are visited in file order and an entry is only filled while still empty, so every key
// keeps its earliest slot: the earliest line wins, as in a scan from slot 0.
CodeTable::Index MakeIndex(const CodeTable& table) {
    using Index = CodeTable::Index;
    Index index;
    index.byCharacter.assign(0x10000, Index::kNone);
    index.oneByte.assign(0x100, Index::kNone);
    index.twoByte.assign(0x10000, Index::kNone);
    const std::size_t slots = table.size();
    for (std::size_t i = 0; i < slots; ++i) {
        const auto slot = static_cast<std::int32_t>(i);
        const std::u16string_view characters = table.Characters(i);
        if (characters.size() == 1) {
            std::int32_t& first = index.byCharacter[characters.front()];
            if (first == Index::kNone) {
                first = slot;
            }
        } else if (characters == kLineBreakToken && index.lineBreakToken == Index::kNone) {
            index.lineBreakToken = slot;
        }

        const std::size_t width = table.CodeTexts(i).size();
        const std::int32_t code = table.Codes(i);
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
    return index;
}

}  // namespace

// Called by every change, once a slot at a time while a table is filled: only the first call
// after a BuildIndex() has anything to let go of.
void CodeTable::LetGoOfIndex() {
    if (index_.Built()) {
        index_ = Index{};
    }
}

void CodeTable::Resize(std::size_t slots) {
    LetGoOfIndex();
    codes_.resize(slots);
    characters_.resize(slots);
    codeTexts_.resize(slots);
}

void CodeTable::SetSlot(std::size_t slot, std::int32_t code, std::u16string_view codeText,
                        std::u16string_view character) {
    LetGoOfIndex();
    codes_[slot] = code;
    codeTexts_[slot].assign(codeText);
    characters_[slot].assign(character);
}

void CodeTable::BuildIndex() {
    index_ = MakeIndex(*this);
}

const CodeTable::Index& CodeTable::CurrentIndex(Index& scratch) const {
    if (index_.Built()) {
        return index_;
    }
    scratch = MakeIndex(*this);
    return scratch;
}

}  // namespace zelkora
