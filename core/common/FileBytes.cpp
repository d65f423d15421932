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

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// What a file that is not read is, for the message.
std::error_code WrongKind(mode_t mode) {
    if (S_ISDIR(mode)) {
        return WrongFileKind::Folder;
    }
    return S_ISCHR(mode) || S_ISBLK(mode) ? WrongFileKind::Device : WrongFileKind::Other;
}

// A stream has no size to read at once: it is read in blocks until it ends.
Result<std::vector<std::uint8_t>> ReadToEnd(int fd) {
    std::vector<std::uint8_t> bytes;
    std::uint8_t block[65536];
    for (;;) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return LastError();
        }
        if (got == 0) {
            return bytes;
        }
        bytes.insert(bytes.end(), block, block + got);
    }
}

}  // namespace

std::error_code make_error_code(WrongFileKind kind) {
    static constexpr const char* kWords[] = {"it is a folder", "it is a device",
                                             "it is not a regular file"};
    return OwnErrorCode(kind, "file kind", kWords);
}

const std::error_category& WrongFileKindCategory() {
    return make_error_code(WrongFileKind::Other).category();
}

bool IsMissingFile(std::error_code error) {
    return error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
}

Result<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                FileKinds kinds) {
    const bool streams = kinds == FileKinds::Streams;
    const FileDescriptor file(
        ::open(path.c_str(), O_RDONLY | O_CLOEXEC | (streams ? 0 : O_NONBLOCK)));
    struct stat info {};
    if (file.get() < 0) {
        // Opening a socket fails so; what the file is says more than "no such device".
        const std::error_code error = LastError();
        if (error == std::errc::no_such_device_or_address && ::stat(path.c_str(), &info) == 0) {
            return WrongKind(info.st_mode);
        }
        return error;
    }
    if (::fstat(file.get(), &info) != 0) {
        return LastError();
    }
    if (!S_ISREG(info.st_mode)) {
        if (streams && IsStream(file.get(), info)) {
            return ReadToEnd(file.get());
        }
        return WrongKind(info.st_mode);
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return LastError();
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
