#pragma once

// Helpers the test files share: names for table-driven cases, bytes written as string literals,
// and a scratch folder of each test's own.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

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

// Failures and the test list (so ctest's test names too) show a case's name rather than a dump of
// its bytes. A file brings it in with `using test::PrintTo;` beside its cases, where GoogleTest
// looks for it.
template <class Case>
requires requires(const Case& c) {
    c.name;
}
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

// Bytes written in a test as a string literal, in the form the core reads them.
inline std::span<const std::uint8_t> AsBytes(std::string_view bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

// The whole file; empty when it cannot be read.
inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// An empty folder for the running test, named after the process and the test so that tests run
// in parallel never share one. It is removed afterwards even when the test left it read-only.
class TempFolder {
public:
    explicit TempFolder(std::string_view prefix) {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        path_ = std::filesystem::temp_directory_path() /
                (std::string(prefix) + "-" + std::to_string(::getpid()) + "-" + name);
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path_, ignored);
    }

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace zelkora::test
