#pragma once

// Code tables for the engine's tests, filled the way the table reader fills them.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "engine/CodeTable.h"

namespace zelkora::test {

struct Line {
    std::u16string_view code;
    std::u16string_view character;
};

// Hexadecimal digits only, the value within 32 bits.
inline std::optional<std::uint32_t> HexValue(std::u16string_view text) {
    std::uint64_t value = 0;
    for (const char16_t c : text) {
        const std::u16string_view digits = u"0123456789abcdef0123456789ABCDEF";
        const std::size_t digit = digits.find(c);
        if (digit == std::u16string_view::npos || value > 0xFFFFFFF) {
            return std::nullopt;
        }
        value = value * 16 + digit % 16;
    }
    return static_cast<std::uint32_t>(value);
}

// The code field's value as the reader stores it: 0 when it cannot be read.
inline std::int32_t CodeValue(std::u16string_view code) {
    return static_cast<std::int32_t>(HexValue(code).value_or(0));
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
