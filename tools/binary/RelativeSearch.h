#pragma once

// Relative search: where data holds a known word in an unknown encoding that keeps some standard
// order of its characters, the values of consecutive units differ as the word's characters do
// in that order.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "tools/binary/BlockScan.h"
#include "tools/binary/CharacterOrders.h"

namespace zelkora {

// How the data's values are read, at every byte offset.
enum class Unit { OneByte, TwoBytesLittleEndian, TwoBytesBigEndian };

[[nodiscard]] constexpr std::size_t UnitSize(Unit unit) {
    return unit == Unit::OneByte ? 1 : 2;
}

struct RelativeHit {
    std::uint64_t offset = 0;
    Unit unit = Unit::OneByte;
    const CharacterOrder* order = nullptr;
    // The value the order's first character would have; below 0 when the order would begin
    // before the unit's first value.
    std::int64_t firstCode = 0;
};

// Why a word cannot be searched for: fewer than three characters, one outside every order,
// characters of several kinds, or all of them the same (no differences to look for). Nothing
// when it can.
[[nodiscard]] std::optional<std::string> RelativeWordProblem(std::u16string_view word);

// Calls hit() for every place, unit and order that fit the word (one RelativeWordProblem
// accepts), in order of offset, then unit, then order; hit() returns false to stop. An order
// counts only when it holds every character of the word. False when the source failed.
[[nodiscard]] bool FindRelative(const ByteSource& source, std::u16string_view word,
                                std::size_t blockSize,
                                const std::function<bool(const RelativeHit&)>& hit);

// "あ=0x20": the order's first character and the code the hit implies for it, in hexadecimal of
// the unit's width.
[[nodiscard]] std::u16string FirstCharacterCode(const RelativeHit& hit);

// "1 byte, gojuon, あ=0x20": the unit, the order, and the code of the order's first character.
[[nodiscard]] std::u16string DescribeHit(const RelativeHit& hit);

}  // namespace zelkora
