#include "core/engine/StringBuffer.h"

#include <initializer_list>
#include <optional>

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

// A run of distinct characters, so text that lands in the wrong place shows.
std::u16string Sample(std::size_t length, char16_t first) {
    std::u16string text;
    for (std::size_t i = 0; i < length; ++i) {
        text.push_back(static_cast<char16_t>(first + i % 64));
    }
    return text;
}

struct GrowthCase : test::NamedCase {
    std::optional<std::int32_t> init;  // none: a new buffer as constructed
    std::initializer_list<std::size_t> appends;
    std::int32_t expectedCapacity;
};

const GrowthCase kGrowthCases[] = {
    {"new_buffer", std::nullopt, {}, 128},
    {"init_zero", 0, {}, 128},
    {"init_negative", -5, {}, 128},
    {"init_ten", 10, {}, 10},
    {"exactly_full", std::nullopt, {128}, 128},
    {"one_past_full", std::nullopt, {129}, 384},
    {"large_append_grows_twice", std::nullopt, {500}, 896},
    {"third_growth", std::nullopt, {300, 300, 300}, 1920},
    {"small_steps", std::nullopt, {100, 28, 1}, 384},
    {"step_from_small_init", 10, {11}, 30},
    {"empty_append", 1, {0}, 1},
};

ZELKORA_TEST_CASES(Engine, StringBufferGrowth, CapacityAndText, kGrowthCases) {
    const GrowthCase& c = GetParam();
    StringBuffer buffer;
    if (c.init) {
        buffer.Init(*c.init);
    }
    std::u16string expected;
    char16_t first = u'A';
    for (const std::size_t length : c.appends) {
        const std::u16string part = Sample(length, first++);
        buffer.Append(part);
        expected += part;
    }
    EXPECT_EQ(buffer.Capacity(), c.expectedCapacity);
    EXPECT_EQ(buffer.ToString(), expected);
    EXPECT_EQ(buffer.Text(), expected);
}

TEST(StringBuffer, TextWriteSetsCapacityToItsLength) {
    StringBuffer buffer;
    buffer.Append(u"abc");
    buffer.Text(u"0123456789");
    EXPECT_EQ(buffer.Capacity(), 10);
    EXPECT_EQ(buffer.Text(), u"0123456789");
    // The step is not reset by a write: the next growth doubles 128.
    buffer.Append(u"x");
    EXPECT_EQ(buffer.Capacity(), 10 + 256);
    EXPECT_EQ(buffer.ToString(), u"0123456789x");
}

TEST(StringBuffer, ClearStartsAgainAtTheDefault) {
    StringBuffer buffer;
    buffer.Init(10);
    buffer.Append(Sample(500, u'a'));
    buffer.Clear();
    EXPECT_EQ(buffer.Capacity(), 128);
    EXPECT_EQ(buffer.ToString(), u"");
    buffer.Append(Sample(129, u'a'));
    EXPECT_EQ(buffer.Capacity(), 384);
}

}  // namespace
}  // namespace zelkora
