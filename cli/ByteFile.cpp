#include "cli/ByteFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "cli/CliIo.h"

namespace zelkora::cli {

ByteFile::ByteFile(std::string_view operand) {
    if (operand == "-") {
        name_ = "standard input";
        fd_ = STDIN_FILENO;
        return;
    }
    name_ = Quoted(std::string(operand));
    fd_ = ::open(std::string(operand).c_str(), O_RDONLY);
    if (fd_ < 0) {
        error_ = errno;
    }
}

ByteFile::~ByteFile() {
    if (fd_ > STDIN_FILENO) {
        ::close(fd_);
    }
}

std::string ByteFile::Why() const {
    return std::strerror(error_);
}

ByteSource ByteFile::Source() {
    return [this](std::span<std::uint8_t> buffer) -> std::optional<std::size_t> {
        if (!Good()) {
            return std::nullopt;
        }
        for (;;) {
            const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
            if (n >= 0) {
                return static_cast<std::size_t>(n);
            }
            if (errno != EINTR) {
                error_ = errno;
                return std::nullopt;
            }
        }
    };
}

std::uint64_t ByteFile::Skip(std::uint64_t count) {
    // A file of known size is passed over at once; a pipe has to be read.
    if (struct stat info{}; Good() && ::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode)) {
        const off_t at = ::lseek(fd_, 0, SEEK_CUR);
        const auto left =
            static_cast<std::uint64_t>(at >= 0 && at < info.st_size ? info.st_size - at : 0);
        const std::uint64_t skipped = std::min(count, left);
        if (at >= 0 && ::lseek(fd_, static_cast<off_t>(skipped), SEEK_CUR) >= 0) {
            return skipped;
        }
    }
    std::array<std::uint8_t, 65536> buffer{};
    const ByteSource source = Source();
    std::uint64_t skipped = 0;
    while (skipped < count) {
        const auto read = source(
            std::span(buffer).first(std::min<std::uint64_t>(buffer.size(), count - skipped)));
        if (!read || *read == 0) {
            break;
        }
        skipped += *read;
    }
    return skipped;
}

}  // namespace zelkora::cli
