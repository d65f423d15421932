#include "cli/TextInput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "cli/CliIo.h"
#include "core/encoding/Utf8.h"

namespace zelkora::cli {
namespace {

constexpr std::string_view kStandardInput = "-";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// A block converts on two threads, and is still small beside the 64 MiB a conversion may take.
constexpr std::size_t kBlock = std::size_t{1} << 20;

// Reads up to `size` bytes, from `offset` when it is given, else from where the file stands:
// how many, 0 at the end; -1 with errno set when reading fails.
ssize_t ReadSome(int fd, char* into, std::size_t size, std::optional<off_t> offset = {}) {
    for (;;) {
        const ssize_t n = offset ? ::pread(fd, into, size, *offset) : ::read(fd, into, size);
        if (n >= 0 || errno != EINTR) {
            return n;
        }
    }
}

// Fills `into` from the file as far as it goes; the bytes read, -1 with errno set on failure.
ssize_t ReadBlock(int fd, char* into, std::size_t size) {
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t n = ReadSome(fd, into + filled, size - filled);
        if (n < 0) {
            return n;
        }
        if (n == 0) {
            break;
        }
        filled += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(filled);
}

}  // namespace

TextInput::TextInput(std::span<const std::string_view> fileNames, bool dropByteOrderMarks)
    : names_(fileNames.begin(), fileNames.end()), dropByteOrderMarks_(dropByteOrderMarks) {
    if (names_.empty()) {
        names_.push_back(kStandardInput);
    }
}

TextInput::~TextInput() {
    Finish();
    if (fd_ > STDIN_FILENO) {
        ::close(fd_);
    }
}

bool TextInput::CanReadAll() const {
    for (const std::string_view name : names_) {
        if (name != kStandardInput && ::access(std::string(name).c_str(), R_OK) != 0) {
            cli::Fail("cannot read " + Quoted(std::string(name)) + ": " + std::strerror(errno));
            return false;
        }
    }
    return true;
}

bool TextInput::Fail(std::string_view why) {
    failed_ = true;
    atEnd_ = true;
    cli::Fail(why);
    return false;
}

bool TextInput::OpenNext() {
    if (fd_ > STDIN_FILENO) {
        ::close(fd_);
    }
    fd_ = -1;
    if (next_ == names_.size()) {
        return false;
    }
    const std::string_view name = names_[next_++];
    const bool standardInput = name == kStandardInput;
    name_ = standardInput ? "standard input" : Quoted(std::string(name));
    fd_ = standardInput ? STDIN_FILENO : ::open(std::string(name).c_str(), O_RDONLY);
    fileOffset_ = 0;
    if (fd_ < 0) {
        return Fail("cannot read " + name_ + ": " + std::strerror(errno));
    }
    return true;
}

void TextInput::ReadAhead() {
    if (!ahead_.valid()) {
        ahead_ = std::async(std::launch::async, [this] {
            Block block;
            block.more = ReadNow(block.text);
            return block;
        });
    }
}

// Waits for the block being read, so that nothing else touches the input meanwhile.
void TextInput::Finish() {
    if (ahead_.valid()) {
        ahead_.wait();
    }
}

bool TextInput::Failed() {
    Finish();
    return failed_;
}

bool TextInput::ReadMore(std::u16string& text) {
    ReadAhead();
    Block block = ahead_.get();
    text += block.text;
    if (block.more) {
        ReadAhead();
    }
    return block.more;
}

bool TextInput::ReadNow(std::u16string& text) {
    while (!atEnd_) {
        if (fd_ < 0 && !OpenNext()) {
            atEnd_ = true;
            // What is held over from the end of the last file can no longer be completed.
            return !failed_ && held_ > 0 && Decode(text, held_, 0);
        }
        block_.resize(held_ + kBlock);
        const ssize_t n = ReadBlock(fd_, block_.data() + held_, kBlock);
        if (n < 0) {
            return Fail("cannot read " + name_ + ": " + std::strerror(errno));
        }
        const bool fileEnds = static_cast<std::size_t>(n) < kBlock;
        block_.resize(held_ + static_cast<std::size_t>(n));
        if (fileOffset_ == 0 && dropByteOrderMarks_ &&
            std::string_view(block_).substr(held_).starts_with(kByteOrderMark)) {
            block_.erase(held_, kByteOrderMark.size());
            fileOffset_ = kByteOrderMark.size();
        }
        const std::size_t start = fileOffset_;
        fileOffset_ += block_.size() - held_;
        if (fileEnds) {
            if (fd_ > STDIN_FILENO) {
                ::close(fd_);
            }
            fd_ = -1;
        }
        if (block_.size() > held_) {
            return Decode(text, held_, start);
        }
    }
    return false;
}

// Decodes what of block_ is complete; the new bytes, from newFrom on, began at newStart of the
// open file.
bool TextInput::Decode(std::u16string& text, std::size_t newFrom, std::size_t newStart) {
    if (held_ == 0) {
        heldName_ = name_;
        heldOffset_ = newStart;
    }
    const std::size_t complete = atEnd_ ? block_.size() : CompleteUtf8Length(block_);
    std::size_t bad = 0;
    if (!AppendUtf8AsUtf16(std::string_view(block_).substr(0, complete), text, &bad)) {
        const bool inHeld = bad < newFrom;
        const std::string& file = inHeld ? heldName_ : name_;
        const std::size_t offset = inHeld ? heldOffset_ + bad : newStart + bad - newFrom;
        return Fail(file + " is not valid UTF-8 (byte offset " + std::to_string(offset) + ")");
    }
    held_ = block_.size() - complete;
    block_.erase(0, complete);
    heldName_ = name_;
    heldOffset_ = fileOffset_ - held_;
    return true;
}

std::optional<std::u16string> TextInput::LineEndAhead() {
    Finish();
    std::string buffer(std::size_t{1} << 16, '\0');
    bool afterCr = false;  // the bytes looked at so far end with a CR
    for (std::size_t i = fd_ >= 0 ? next_ - 1 : next_; i < names_.size(); ++i) {
        const bool opened = fd_ >= 0 && i + 1 == next_;
        const bool standardInput = names_[i] == kStandardInput;
        const int fd = opened          ? fd_
                       : standardInput ? STDIN_FILENO
                                       : ::open(std::string(names_[i]).c_str(), O_RDONLY);
        struct stat info {};
        const bool regular = fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
        // Read from where the file stands, which reading for the conversion leaves as it is.
        off_t at = regular && (opened || standardInput) ? ::lseek(fd, 0, SEEK_CUR) : 0;
        bool fileStart = !opened;
        std::optional<std::u16string> found;
        for (ssize_t n = 0; regular && at >= 0 && !found; at += n) {
            n = ReadSome(fd, buffer.data(), buffer.size(), at);
            if (n <= 0) {
                break;
            }
            std::string_view bytes(buffer.data(), static_cast<std::size_t>(n));
            if (fileStart && dropByteOrderMarks_ && bytes.starts_with(kByteOrderMark)) {
                bytes.remove_prefix(kByteOrderMark.size());
            }
            fileStart = false;
            if (bytes.empty()) {
                continue;
            }
            if (afterCr) {
                found = bytes.front() == '\n' ? u"\r\n" : u"\r";
                break;
            }
            const auto* lf =
                static_cast<const char*>(std::memchr(bytes.data(), '\n', bytes.size()));
            const std::size_t beforeLf =
                lf != nullptr ? static_cast<std::size_t>(lf - bytes.data()) : bytes.size();
            const auto* cr = static_cast<const char*>(std::memchr(bytes.data(), '\r', beforeLf));
            if (cr == nullptr && lf != nullptr) {
                found = u"\n";
            } else if (cr != nullptr && cr + 1 < bytes.data() + bytes.size()) {
                found = cr[1] == '\n' ? u"\r\n" : u"\r";
            } else {
                afterCr = cr != nullptr;
            }
        }
        if (fd > STDIN_FILENO && !opened) {
            ::close(fd);
        }
        if (!regular || at < 0) {
            return std::nullopt;
        }
        if (found) {
            return found;
        }
    }
    return afterCr ? u"\r" : u"\n";
}

}  // namespace zelkora::cli
