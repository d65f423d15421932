#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>

#include "core/common/Result.h"

namespace zelkora {

// Why a file dropped onto a text box gives no text, besides the errors of reading it.
enum class DropRefusal {
    NotText = 1,  // its decoded text holds control characters that text does not
    TooLarge,     // more than kDropLimit bytes
};
[[nodiscard]] std::error_code make_error_code(DropRefusal refusal);

// Larger files would cost the window seconds and hundreds of MiB for text no one reads in a box.
inline constexpr std::uintmax_t kDropLimit = std::uintmax_t{64} << 20;

using DroppedText = Result<std::u16string>;

// The text of a dropped file's bytes, detected and decoded as a table file's are, so a
// Shift_JIS or UTF-16 file reads as its author wrote it.
[[nodiscard]] DroppedText TextOfDroppedBytes(std::span<const std::uint8_t> bytes);

// Reads the file, refusing it before reading when it is too large; a file that cannot be read
// gives the error of reading it.
[[nodiscard]] DroppedText TextOfDroppedFile(const std::filesystem::path& file);

// What the user is told, in Japanese, naming the file.
[[nodiscard]] std::u16string DropRefusalMessage(std::error_code why, std::u16string_view fileName);

}  // namespace zelkora

template <>
struct std::is_error_code_enum<zelkora::DropRefusal> : std::true_type {};
