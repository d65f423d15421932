#pragma once

// The orders relative search looks for: data seldom keeps Unicode's codes for its characters,
// but it often keeps their order.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zelkora {

enum class CharacterKind { Hiragana, Katakana, LowerCase, UpperCase, Digit };

struct CharacterOrder {
    std::string_view name;         // as a hit names it: "jis", "gojuon", "alphabet", "digits"
    std::u16string_view japanese;  // as a starter table's header names it
    CharacterKind kind;
    std::u16string_view characters;  // the whole order, first to last
};

// Every order: for kana the JIS order (Unicode's, small and voiced kana included, as JIS X 0208
// rows 4 and 5 hold them) and the gojūon order (あいうえお … わをん, 46 kana), for letters and
// digits their usual order.
[[nodiscard]] std::span<const CharacterOrder> CharacterOrders();

// The kind of a character; nothing when it belongs to no order.
[[nodiscard]] std::optional<CharacterKind> KindOf(char16_t c);

}  // namespace zelkora
