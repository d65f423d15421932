#include "core/common/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zelkora {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }

private:
    int fd_;
};

bool IsStream(int fd, const struct stat& info) {
    return S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode) ||
           (S_ISCHR(info.st_mode) && ::isatty(fd) == 1);
}

// A stream has no size to read at once: it is read in blocks until it ends.
std::optional<std::vector<std::uint8_t>> ReadToEnd(int fd) {
    std::vector<std::uint8_t> bytes;
    std::uint8_t block[65536];
    for (;;) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            return bytes;
        }
        bytes.insert(bytes.end(), block, block + got);
    }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                       FileKinds kinds) {
    const bool streams = kinds == FileKinds::Streams;
    const FileDescriptor file(
        ::open(path.c_str(), O_RDONLY | O_CLOEXEC | (streams ? 0 : O_NONBLOCK)));
    struct stat info {};
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0) {
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        return streams && IsStream(file.get(), info) ? ReadToEnd(file.get()) : std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {  // the file shrank while being read
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

}  // namespace zelkora
