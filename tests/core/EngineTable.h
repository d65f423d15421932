#pragma once

// Code tables for the engine's tests, filled the way the table reader fills them, and the
// checks the engine's tests share.

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/CodeTable.h"
#include "core/engine/HexCode.h"

namespace zelkora::test {

struct Line {
    std::u16string_view code;
    std::u16string_view character;
};

// The code field's value as the reader stores it: 0 when it cannot be read.
inline std::int32_t CodeValue(std::u16string_view code) {
    return static_cast<std::int32_t>(ParseHexCode(code).value_or(0));
}

inline void AddLine(CodeTable& table, const Line& line) {
    table.Resize(table.size() + 1);
    table.SetSlot(table.size() - 1, CodeValue(line.code), line.code, line.character);
}

inline CodeTable MakeTable(std::span<const Line> lines) {
    CodeTable table;
    for (const Line& line : lines) {
        AddLine(table, line);
    }
    table.BuildIndex();
    return table;
}

// Cut for two threads wherever the cut may fall, a conversion of an input of `size` code units
// gives `expected`, and lists the unmatched offsets it lists uncut. cutAt(at) is where a cut asked
// for at `at` falls; convert(cut, unmatched) converts with the input cut there (at the end: uncut).
template <typename CutAt, typename Convert>
void ExpectAlikeWhereverCut(std::size_t size, std::u16string_view expected, CutAt cutAt,
                            Convert convert) {
    std::vector<std::size_t> whole;
    static_cast<void>(convert(size, &whole));
    for (std::size_t at = 0; at <= size; ++at) {
        const std::size_t cut = cutAt(at);
        std::vector<std::size_t> unmatched;
        EXPECT_EQ(convert(cut, &unmatched), expected) << "cut at " << cut;
        EXPECT_EQ(unmatched, whole) << "cut at " << cut;
    }
}

// Fed a piece of `size` code units at a time, the input converts as a whole: same result, same
// unmatched offsets. convertPiece(input so far, whether it is all, result, unmatched) converts
// what it can of the input it is given and returns how much it took; the rest comes again.
template <typename ConvertPiece>
void ExpectAlikeInPieces(std::u16string_view input, std::u16string_view expected,
                         const std::vector<std::size_t>& expectedUnmatched,
                         ConvertPiece convertPiece) {
    for (std::size_t size = 1; size <= input.size(); ++size) {
        std::u16string given;
        std::u16string result;
        std::vector<std::size_t> unmatched;
        std::size_t takenBefore = 0;
        for (std::size_t at = 0; at < input.size();) {
            given += input.substr(at, size);
            at += size;
            std::vector<std::size_t> inPiece;
            const std::size_t taken = convertPiece(given, at >= input.size(), result, inPiece);
            for (const std::size_t offset : inPiece) {
                unmatched.push_back(takenBefore + offset);
            }
            takenBefore += taken;
            given.erase(0, taken);
        }
        EXPECT_EQ(result, expected) << "pieces of " << size;
        EXPECT_EQ(unmatched, expectedUnmatched) << "pieces of " << size;
        EXPECT_TRUE(given.empty()) << "pieces of " << size;
    }
}

// Whether two tables hold the same slots, whatever their lookup indexes.
inline bool SameSlots(const CodeTable& a, const CodeTable& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t slot = 0; slot < a.size(); ++slot) {
        if (a.Codes(slot) != b.Codes(slot) || a.CodeTexts(slot) != b.CodeTexts(slot) ||
            a.Characters(slot) != b.Characters(slot)) {
            return false;
        }
    }
    return true;
}

}  // namespace zelkora::test
