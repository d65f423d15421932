#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tools/binary/BlockScan.h"

namespace zelkora::cli {

// A FILE operand opened for reading bytes, "-" standing for standard input. Not a value: it owns
// the open file.
class ByteFile {
public:
    explicit ByteFile(std::string_view operand);
    ByteFile(const ByteFile&) = delete;
    ByteFile& operator=(const ByteFile&) = delete;
    ~ByteFile();

    // For messages: "standard input" or 'name'.
    [[nodiscard]] const std::string& Name() const { return name_; }
    // Whether it opened and every read so far succeeded; else Why() tells why not.
    [[nodiscard]] bool Good() const { return error_ == 0; }
    [[nodiscard]] std::string Why() const;

    // Reads from where the file stands; a failure makes the file not Good.
    [[nodiscard]] ByteSource Source();
    // Passes over `count` bytes: how many there were, fewer at the end of the file.
    [[nodiscard]] std::uint64_t Skip(std::uint64_t count);

private:
    std::string name_;
    int fd_ = -1;
    int error_ = 0;  // errno of the failure
};

}  // namespace zelkora::cli
