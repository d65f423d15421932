#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelkora {

// The in-memory form of one table file: slot i belongs to line i of the file, so slot order
// is file order. Lines that are not entries leave their slot empty (code 0, empty texts). Every
// change goes through the methods below, which let go of the lookup index, so a lookup never uses
// an index of other slots.
//
// The slots' texts are stretches of one shared text: a table of millions of lines would
// otherwise hold two strings a line, several times the size of the file it was read from.
class CodeTable {
public:
    // Slot by slot, the design's three arrays. Codes: the code field read as hexadecimal, 0 if
    // unreadable; Characters: what the code stands for; CodeTexts: the code field exactly as
    // written. The views last until the table changes.
    [[nodiscard]] std::int32_t Codes(std::size_t slot) const { return codes_[slot]; }
    [[nodiscard]] std::u16string_view Characters(std::size_t slot) const {
        return Stretch(slots_[slot].characterAt, slots_[slot].characterLength);
    }
    [[nodiscard]] std::u16string_view CodeTexts(std::size_t slot) const {
        return Stretch(slots_[slot].codeTextAt, slots_[slot].codeTextLength);
    }

    [[nodiscard]] std::size_t size() const { return slots_.size(); }
    // Storage kept for this many slots.
    [[nodiscard]] std::size_t capacity() const { return slots_.capacity(); }

    // This many slots; new ones are empty, the others keep what they hold until set.
    void Resize(std::size_t slots);
    // Texts that are part of SharedText() are kept where they are; others are copied into it.
    void SetSlot(std::size_t slot, std::int32_t code, std::u16string_view codeText,
                 std::u16string_view character);

    // Empties the table into this many empty slots, with `text` as the shared text, so that a
    // reader setting each slot to parts of the file's text copies none of them.
    void Refill(std::size_t slots, std::u16string text);
    // The text every slot's views point into.
    [[nodiscard]] std::u16string_view SharedText() const { return text_; }

    // Lookup index over the slots, built by BuildIndex() once the slots are set. Every entry
    // holds the earliest slot that matches, so a lookup gives what a scan from slot 0 gives.
    // One-byte entries are keyed by Codes within 0..255: one or two digits cannot hold more.
    // An index is built when its tables are filled: one let go of, or moved from, is empty.
    struct Index {
        static constexpr std::int32_t kNone = -1;
        std::vector<std::int32_t> byCharacter;  // 65536 entries: single code unit -> slot
        std::int32_t lineBreakToken = kNone;    // slot whose Characters is "\n"
        std::vector<std::int32_t> oneByte;      // 256 entries: byte value -> one-byte entry slot
        // Two-byte entries: a direct array covers the usual codes, a map the wider ones.
        std::vector<std::int32_t> twoByte;  // 65536 entries: pair value -> two-byte entry slot
        std::unordered_map<std::int32_t, std::int32_t> twoByteWide;  // the rest (negative too)

        [[nodiscard]] bool Built() const { return !byCharacter.empty(); }
    };

    void BuildIndex();

    // The index to look up with: the stored one when it is built over the present slots, else
    // one built into `scratch` for this call, so a forgotten BuildIndex() costs time, never a
    // wrong lookup.
    [[nodiscard]] const Index& CurrentIndex(Index& scratch) const;

private:
    // Where a slot's texts lie in text_. A length of kLongText says that the text is longer than
    // a length field holds: its length is then written in the four code units before it.
    static constexpr std::uint32_t kLongText = UINT32_MAX;
    struct Slot {
        std::size_t codeTextAt = 0;
        std::size_t characterAt = 0;
        std::uint32_t codeTextLength = 0;
        std::uint32_t characterLength = 0;
    };

    [[nodiscard]] std::u16string_view Stretch(std::size_t at, std::uint32_t length) const {
        return length == kLongText ? LongStretch(at)
                                   : std::u16string_view(text_.data() + at, length);
    }
    [[nodiscard]] std::u16string_view LongStretch(std::size_t at) const;
    // Where `part` lies in text_ and its length field, copying it to the end of text_ when it is
    // not part of it. `at` is where text_ held it before, or npos.
    void Place(std::u16string_view part, std::size_t at, std::size_t& where, std::uint32_t& length);
    void LetGoOfIndex();

    // Apart from the slots, which a code would pad by a third.
    std::vector<std::int32_t> codes_;
    std::vector<Slot> slots_;
    std::u16string text_;
    Index index_;
};

}  // namespace zelkora
