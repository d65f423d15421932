#pragma once

// The one way the program reports a failure. A Result<T> holds a value, or the std::error_code
// that says why there is none: the system's own (errno, in std::generic_category) where a system
// call failed, else a code of one of the program's own enumerations, each with a category that
// words it (OwnErrorCategory). Result<> holds no value: done, or why not. Nothing throws, and a
// result cannot be dropped unseen. A Result<T> is a std::optional<T> that also knows why it is
// empty, so it reads, compares and falls back (value_or) as one.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <type_traits>
#include <utility>

namespace zelkora {

template <typename T = void>
class [[nodiscard]] Result : public std::optional<T> {
public:
    Result(T value) : std::optional<T>(std::move(value)) {}
    // `error` is a failure, never the empty code.
    Result(std::error_code error) : error_(error) {}
    template <typename Enum>
    requires std::is_error_code_enum_v<Enum> Result(Enum error) : error_(error) {}

    // Why there is no value; the empty code when there is one.
    [[nodiscard]] std::error_code error() const { return error_; }

private:
    std::error_code error_;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    // The empty code is done.
    Result(std::error_code error) : error_(error) {}
    template <typename Enum>
    requires std::is_error_code_enum_v<Enum> Result(Enum error) : error_(error) {}

    [[nodiscard]] bool has_value() const { return !error_; }
    explicit operator bool() const { return has_value(); }
    [[nodiscard]] std::error_code error() const { return error_; }

    // Whether the outcome is of a kind callers tell apart, such as ReadStatus::EmptyFile.
    template <typename Condition>
    requires std::is_error_condition_enum_v<Condition>
    friend bool operator==(const Result& result, Condition condition) {
        return result.error_ == condition;
    }

private:
    std::error_code error_;
};

// The category of one of the program's own enumerations of failures, numbered from 1: its name,
// and the words for each value, words[value - 1].
class OwnErrorCategory : public std::error_category {
public:
    OwnErrorCategory(const char* name, std::span<const char* const> words)
        : name_(name), words_(words) {}

    [[nodiscard]] const char* name() const noexcept override { return name_; }
    [[nodiscard]] std::string message(int value) const override {
        return value >= 1 && static_cast<std::size_t>(value) <= words_.size() ? words_[value - 1]
                                                                              : "unknown";
    }

private:
    const char* name_;
    std::span<const char* const> words_;
};

// The code of a value of such an enumeration, in the one category its `name` and `words` make.
// An enumeration's make_error_code calls it.
template <typename Enum, std::size_t N>
[[nodiscard]] std::error_code OwnErrorCode(Enum value, const char* name,
                                           const char* const (&words)[N]) {
    static const OwnErrorCategory category(name, words);
    return {static_cast<int>(value), category};
}

}  // namespace zelkora
