#include "core/engine/CodeTable.h"

#include <cstring>
#include <functional>

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
    slots_.resize(slots);
}

namespace {

// Where `part` lies in `text`, or npos when it is not part of it. std::less orders pointers into
// different objects too.
std::size_t OffsetIn(std::u16string_view text, std::u16string_view part) {
    const std::less<> before;
    if (part.empty() || before(part.data(), text.data()) ||
        before(text.data() + text.size(), part.data() + part.size())) {
        return std::u16string_view::npos;
    }
    return static_cast<std::size_t>(part.data() - text.data());
}

constexpr std::size_t kLengthUnits = sizeof(std::uint64_t) / sizeof(char16_t);

}  // namespace

std::u16string_view CodeTable::LongStretch(std::size_t at) const {
    std::uint64_t length = 0;
    std::memcpy(&length, text_.data() + at, sizeof length);
    return {text_.data() + at + kLengthUnits, static_cast<std::size_t>(length)};
}

void CodeTable::Place(std::u16string_view part, std::size_t at, std::size_t& where,
                      std::uint32_t& length) {
    if (at != std::u16string_view::npos) {
        // Taken again from its offset: an earlier copy may have moved text_.
        part = std::u16string_view(text_).substr(at, part.size());
    }
    if (part.size() >= kLongText) {
        const std::uint64_t size = part.size();
        std::u16string copy(kLengthUnits, u'\0');
        std::memcpy(copy.data(), &size, sizeof size);
        copy.append(part);
        where = text_.size();
        length = kLongText;
        text_.append(copy);
        return;
    }
    length = static_cast<std::uint32_t>(part.size());
    if (at == std::u16string_view::npos) {
        where = text_.size();
        text_.append(part);
    } else {
        where = at;
    }
}

void CodeTable::SetSlot(std::size_t slot, std::int32_t code, std::u16string_view codeText,
                        std::u16string_view character) {
    LetGoOfIndex();
    // Both are located before either is copied, which can move text_.
    const std::size_t codeTextAt = OffsetIn(text_, codeText);
    const std::size_t characterAt = OffsetIn(text_, character);
    codes_[slot] = code;
    Slot& s = slots_[slot];
    Place(codeText, codeTextAt, s.codeTextAt, s.codeTextLength);
    Place(character, characterAt, s.characterAt, s.characterLength);
}

void CodeTable::Refill(std::size_t slots, std::u16string text) {
    LetGoOfIndex();
    codes_.assign(slots, 0);
    slots_.assign(slots, Slot{});
    text_ = std::move(text);
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
