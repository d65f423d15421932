#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace zelkora {

// The whole contents of a regular file in one read; nothing when it is missing, not a regular
// file or cannot be read. Opening never blocks (a FIFO placed where a table belongs is refused).
[[nodiscard]] std::optional<std::vector<std::uint8_t>> ReadFileBytes(
    const std::filesystem::path& path);

}  // namespace zelkora
