#pragma once

// Code tables for the engine's tests, filled the way the table reader fills them.

#include <cstdint>
#include <span>
#include <string_view>

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
