#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace zelkora {

// Which files ReadFileBytes reads.
enum class FileKinds {
    // Regular files only. Opening never blocks: a FIFO placed where a table belongs is refused.
    Regular,
    // Also a FIFO, a socket or a terminal, read to its end: a file the user names, such as
    // <(command) or /dev/stdin. Opening a FIFO waits for a writer.
    Streams,
};

// The whole contents of a file: a regular file in one read, a stream to its end. Nothing when it
// is missing, is a folder or a device other than a terminal (which may never end), is not of the
// kinds asked, or cannot be read.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> ReadFileBytes(
    const std::filesystem::path& path, FileKinds kinds = FileKinds::Regular);

}  // namespace zelkora
