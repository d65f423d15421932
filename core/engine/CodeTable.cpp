#include "core/engine/CodeTable.h"

#include <utility>

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
    index.built = true;
    return index;
}

}  // namespace

// The references to the arrays stay bound to this table's own: only the arrays and the index
// are copied or moved. A table moved from has no slots and no index.
CodeTable::CodeTable(const CodeTable& other)
    : codes_(other.codes_),
      characters_(other.characters_),
      codeTexts_(other.codeTexts_),
      index(other.index) {}

CodeTable::CodeTable(CodeTable&& other) noexcept
    : codes_(std::move(other.codes_)),
      characters_(std::move(other.characters_)),
      codeTexts_(std::move(other.codeTexts_)),
      index(std::move(other.index)) {
    other.index.built = false;
}

CodeTable& CodeTable::operator=(const CodeTable& other) {
    if (this != &other) {
        codes_ = other.codes_;
        characters_ = other.characters_;
        codeTexts_ = other.codeTexts_;
        index = other.index;
    }
    return *this;
}

CodeTable& CodeTable::operator=(CodeTable&& other) noexcept {
    if (this != &other) {
        codes_ = std::move(other.codes_);
        characters_ = std::move(other.characters_);
        codeTexts_ = std::move(other.codeTexts_);
        index = std::move(other.index);
        other.index.built = false;
    }
    return *this;
}

void CodeTable::Resize(std::size_t slots) {
    index.built = false;
    codes_.resize(slots);
    characters_.resize(slots);
    codeTexts_.resize(slots);
}

void CodeTable::SetSlot(std::size_t slot, std::int32_t code, std::u16string_view codeText,
                        std::u16string_view character) {
    index.built = false;
    codes_[slot] = code;
    codeTexts_[slot].assign(codeText);
    characters_[slot].assign(character);
}

void CodeTable::AddSlot(std::int32_t code, std::u16string_view codeText,
                        std::u16string_view character) {
    Resize(size() + 1);
    SetSlot(size() - 1, code, codeText, character);
}

void CodeTable::BuildIndex() {
    index = MakeIndex(*this);
}

const CodeTable::Index& CodeTable::CurrentIndex(Index& scratch) const {
    if (index.built) {
        return index;
    }
    scratch = MakeIndex(*this);
    return scratch;
}

}  // namespace zelkora
