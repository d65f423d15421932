#include "tools/binary/CharacterOrders.h"

#include <algorithm>
#include <array>

namespace zelkora {
namespace {

// Code points first to last, as a constant text.
template <char16_t First, char16_t Last>
constexpr auto kRun = [] {
    std::array<char16_t, Last - First + 1> run{};
    for (std::size_t i = 0; i < run.size(); ++i) {
        run[i] = static_cast<char16_t>(First + i);
    }
    return run;
}();

template <std::size_t N>
constexpr std::u16string_view View(const std::array<char16_t, N>& run) {
    return {run.data(), run.size()};
}

constexpr std::array kOrders = {
    CharacterOrder{"jis", u"JIS の順", CharacterKind::Hiragana, View(kRun<u'ぁ', u'ん'>)},
    CharacterOrder{"gojuon", u"五十音順", CharacterKind::Hiragana,
                   u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよ"
                   u"らりるれろわをん"},
    CharacterOrder{"jis", u"JIS の順", CharacterKind::Katakana, View(kRun<u'ァ', u'ヶ'>)},
    CharacterOrder{"gojuon", u"五十音順", CharacterKind::Katakana,
                   u"アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨ"
                   u"ラリルレロワヲン"},
    CharacterOrder{"alphabet", u"アルファベット順", CharacterKind::LowerCase,
                   View(kRun<u'a', u'z'>)},
    CharacterOrder{"alphabet", u"アルファベット順", CharacterKind::UpperCase,
                   View(kRun<u'A', u'Z'>)},
    CharacterOrder{"digits", u"数字の順", CharacterKind::Digit, View(kRun<u'0', u'9'>)},
};

}  // namespace

std::span<const CharacterOrder> CharacterOrders() {
    return kOrders;
}

std::optional<CharacterKind> KindOf(char16_t c) {
    const auto order = std::ranges::find_if(kOrders, [&](const CharacterOrder& o) {
        return o.characters.find(c) != std::u16string_view::npos;
    });
    return order != kOrders.end() ? std::optional(order->kind) : std::nullopt;
}

}  // namespace zelkora
