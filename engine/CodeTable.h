#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace zelkora {

// The in-memory form of one table file: slot i belongs to line i of the file, so slot order
// is file order. Lines that are not entries leave their slot empty (code 0, empty texts).
struct CodeTable {
    std::vector<std::int32_t> Codes;         // the code field read as hexadecimal, 0 if unreadable
    std::vector<std::u16string> Characters;  // what the code stands for
    std::vector<std::u16string> CodeTexts;   // the code field exactly as written

    std::size_t size() const { return Codes.size(); }

    // Lookup index over the slots, rebuilt by BuildIndex() after the slots change. Every entry
    // holds the earliest slot that matches, so a lookup gives what a scan from slot 0 gives.
    // One-byte entries are keyed by Codes within 0..255: one or two digits cannot hold more.
    struct Index {
        static constexpr std::int32_t kNone = -1;
        bool built = false;
        std::size_t slotCount = 0;              // the number of slots it was built over
        std::vector<std::int32_t> byCharacter;  // 65536 entries: single code unit -> slot
        std::int32_t lineBreakToken = kNone;    // slot whose Characters is "\n"
        std::vector<std::int32_t> oneByte;      // 256 entries: byte value -> one-byte entry slot
        // Two-byte entries: a direct array covers the usual codes, a map the wider ones.
        std::vector<std::int32_t> twoByte;  // 65536 entries: pair value -> two-byte entry slot
        std::unordered_map<std::int32_t, std::int32_t> twoByteWide;  // the rest (negative too)
    } index;

    void BuildIndex();

    // The index to look up with: the stored one when it was built over this many slots, else one
    // built into `scratch` for this call, so a forgotten BuildIndex() costs time, never a crash.
    [[nodiscard]] const Index& CurrentIndex(Index& scratch) const;
};

}  // namespace zelkora
