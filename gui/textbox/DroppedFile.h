#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace zelkora {

// Why a file dropped onto a text box gives no text.
enum class DropRefusal {
    NotText,     // its decoded text holds control characters that text does not
    Unreadable,  // missing, not a regular file, or reading failed
    TooLarge,    // more than kDropLimit bytes
};

// Larger files would cost the window seconds and hundreds of MiB for text no one reads in a box.
inline constexpr std::uintmax_t kDropLimit = std::uintmax_t{64} << 20;

using DroppedText = std::variant<std::u16string, DropRefusal>;

// The text of a dropped file's bytes, detected and decoded as a table file's are, so a
// Shift_JIS or UTF-16 file reads as its author wrote it.
[[nodiscard]] DroppedText TextOfDroppedBytes(std::span<const std::uint8_t> bytes);

// Reads the file, refusing it before reading when it is too large.
[[nodiscard]] DroppedText TextOfDroppedFile(const std::filesystem::path& file);

// What the user is told, in Japanese, naming the file.
[[nodiscard]] std::u16string DropRefusalMessage(DropRefusal refusal, std::u16string_view fileName);

}  // namespace zelkora
