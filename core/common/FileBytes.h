#pragma once

#include <cstdint>
#include <filesystem>
#include <system_error>
#include <type_traits>
#include <vector>

#include "core/common/Result.h"

namespace zelkora {

// Which files ReadFileBytes reads.
enum class FileKinds {
    // Regular files only. Opening never blocks: a FIFO placed where a table belongs is refused.
    Regular,
    // Also a FIFO, a socket or a terminal, read to its end: a file the user names, such as
    // <(command) or /dev/stdin. Opening a FIFO waits for a writer.
    Streams,
};

// A file that exists but is not of a kind that is read.
enum class WrongFileKind {
    Folder = 1,
    Device,  // a device other than a terminal, which may never end (/dev/zero)
    Other,   // not a regular file, and not one of the streams asked for
};
[[nodiscard]] std::error_code make_error_code(WrongFileKind kind);
[[nodiscard]] const std::error_category& WrongFileKindCategory();

// Whether the error says that the file is not there: it, or a folder on its path, is missing.
[[nodiscard]] bool IsMissingFile(std::error_code error);

// The whole contents of a file: a regular file in one read, a stream to its end. Else why not:
// the system's error from opening or reading it, or the WrongFileKind it is.
[[nodiscard]] Result<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                              FileKinds kinds = FileKinds::Regular);

}  // namespace zelkora

template <>
struct std::is_error_code_enum<zelkora::WrongFileKind> : std::true_type {};
