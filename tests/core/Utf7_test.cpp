#include "core/encoding/Utf7.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

using test::PrintTo;

struct Utf7Case {
    std::string_view name;
    std::string_view bytes;
    std::u16string_view text;
    std::size_t substitutions;
};

constexpr Utf7Case kCases[] = {
    {"escaped_plus", "+-", u"+", 0},
    {"raw_line_break_token", "5C \\n", u"5C \\n", 0},
    {"raw_tilde", "7E ~", u"7E ~", 0},
    {"line_ends_kept", "41 A\r\n42 B", u"41 A\r\n42 B", 0},
    {"shift_closed_by_dash", "+AGEAYgBj-", u"abc", 0},
    {"shift_ended_by_space", "+AGE x", u"a x", 0},
    {"only_one_dash_absorbed", "+AGE--", u"a-", 0},
    {"plus_before_space_stands_for_itself", "+ x", u"+ x", 0},
    {"plus_at_end_stands_for_itself", "A+", u"A+", 0},
    {"plus_as_base64_inside_shift", "++wA-", u"\uFB00", 0},  // ﬀ
    {"tricky_japanese", "+/14iJf8N/+D/4f/iJGD/cTBC-", u"～∥－￠￡￢①ｱあ", 0},
    {"surrogate_pair", "+2D3eAA-", u"\xD83D\xDE00", 0},
    {"unpaired_surrogate_kept", "+2D0-", u"\xD83D", 0},
    {"leftover_bits_dropped", "+AG-A", u"A", 0},
    {"high_byte_substituted", "A\x82", u"A\uFFFD", 1},
    {"high_byte_ends_shift", "+AGE\x82\x82", u"a\uFFFD\uFFFD", 2},
};

ZELKORA_TEST_CASES(Utf7, Utf7, Decode, kCases) {
    const Utf7Case& c = GetParam();
    std::size_t substitutions = 99;
    const std::span<const std::uint8_t> bytes = test::AsBytes(c.bytes);
    EXPECT_EQ(DecodeUtf7(bytes, &substitutions), c.text);
    EXPECT_EQ(substitutions, c.substitutions);
}

}  // namespace
}  // namespace zelkora
