#pragma once

// Code tables for the engine's tests, filled the way the table reader fills them.

#include <cstdint>
#include <span>
#include <string_view>

#include "engine/CodeTable.h"

namespace zelkora::test {

struct Line {
    std::u16string_view code;
    std::u16string_view character;
};

// The code field's value as the reader stores it: hexadecimal within 32 bits, else 0.
inline std::int32_t CodeValue(std::u16string_view code) {
    std::uint64_t value = 0;
    for (const char16_t c : code) {
        const std::u16string_view digits = u"0123456789abcdef0123456789ABCDEF";
        const std::size_t digit = digits.find(c);
        if (digit == std::u16string_view::npos || value > 0xFFFFFFF) {
            return 0;
        }
        value = value * 16 + digit % 16;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

inline void AddLine(CodeTable& table, const Line& line) {
    table.Codes.push_back(CodeValue(line.code));
    table.CodeTexts.emplace_back(line.code);
    table.Characters.emplace_back(line.character);
}

inline CodeTable MakeTable(std::span<const Line> lines) {
    CodeTable table;
    for (const Line& line : lines) {
        AddLine(table, line);
    }
    table.BuildIndex();
    return table;
}

}  // namespace zelkora::test
