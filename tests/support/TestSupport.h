#pragma once

// Helpers the GoogleTest files share: tables of named cases, bytes written as string literals,
// and a scratch folder of each test's own; the file helpers beside them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "tests/support/TestFiles.h"

namespace zelkora::test {

// Test names may hold only letters, digits and '_', so "first-key-wins" becomes
// "first_key_wins"; a case can then be written as it reads.
inline std::string TestName(std::string name) {
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

// The name generator of INSTANTIATE_TEST_SUITE_P: each case is named after its `name` field, so
// a failure names its row.
inline constexpr auto CaseName = [](const auto& caseInfo) {
    return TestName(std::string(caseInfo.param.name));
};

// The name of a case of a table: a case struct derives from it, so that failures and the test
// list show the case's name rather than a dump of its bytes (GoogleTest finds PrintTo beside it).
struct NamedCase {
    std::string_view name;
};

template <class Case>
requires requires(const Case& c) {
    c.name;
}
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

// A case of a function of one argument: a name, the argument, and what it gives. A table of
// them needs no case struct of its own.
template <typename Input, typename Expected = Input>
struct Case : NamedCase {
    Input input;
    Expected expected;
};

// One test per row of the table `cases`, named after the row ("Prefix/Suite.Test/row"): the
// fixture, the instantiation and the head of TEST_P(Suite, Test), whose body follows with the
// row as GetParam().
#define ZELKORA_TEST_CASES(Prefix, Suite, Test, cases)                                           \
    class Suite : public ::testing::TestWithParam<std::remove_cvref_t<decltype((cases)[0])>> {}; \
    INSTANTIATE_TEST_SUITE_P(Prefix, Suite, ::testing::ValuesIn(cases),                          \
                             ::zelkora::test::CaseName);                                         \
    TEST_P(Suite, Test)

// One test per row of `cases` (test::Case rows): `function` gives each row's input what the row
// expects.
#define ZELKORA_TEST_FUNCTION(Prefix, Suite, Test, cases, function) \
    ZELKORA_TEST_CASES(Prefix, Suite, Test, cases) {                \
        EXPECT_EQ(function(GetParam().input), GetParam().expected); \
    }

// Bytes written in a test as a string literal, in the form the core reads them.
inline std::span<const std::uint8_t> AsBytes(std::string_view bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

// A scratch folder named after the running test.
class TempFolder : public ScratchFolder {
public:
    explicit TempFolder(std::string_view prefix)
        : ScratchFolder(prefix, ::testing::UnitTest::GetInstance()->current_test_info()->name()) {}
};

}  // namespace zelkora::test
