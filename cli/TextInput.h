#pragma once

#include <cstddef>
#include <future>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelkora::cli {

// The input of a conversion as UTF-16 text, read and decoded a block at a time, so that an input
// of any size takes the memory of a block: the named files one after another, as cat reads them,
// "-" standing for standard input; standard input alone when no file is named. Bytes unchanged,
// but for a UTF-8 byte-order mark at the start of each file when dropByteOrderMarks: every file
// saved by an editor that writes one begins with it. Not a value: it owns the open file.
class TextInput {
public:
    TextInput(std::span<const std::string_view> fileNames, bool dropByteOrderMarks);
    TextInput(const TextInput&) = delete;
    TextInput& operator=(const TextInput&) = delete;
    ~TextInput();

    // Whether every named file can be opened for reading, so that a missing FILE stops the
    // command before anything is written; false after a message naming it.
    [[nodiscard]] bool CanReadAll() const;

    // Appends the next block of text to `text`; false when there is none left, or after a
    // message naming the file and the reason when a file cannot be read or is not UTF-8.
    [[nodiscard]] bool ReadMore(std::u16string& text);
    // Starts reading the next block on a thread of its own, if it is not being read already;
    // ReadMore hands it over. Each ReadMore starts the block after the one it hands over, so
    // blocks are read and decoded while the caller converts.
    void ReadAhead();
    [[nodiscard]] bool Failed();

    // The first line end in what is still to be read ("\n", "\r\n" or "\r"), found by reading
    // ahead in regular files without reading them for the conversion; "\n" when there is none.
    // Nothing when a file still to be read is not a regular file, so cannot be read twice.
    [[nodiscard]] std::optional<std::u16string> LineEndAhead();

private:
    struct Block {
        std::u16string text;
        bool more = false;
    };
    [[nodiscard]] bool ReadNow(std::u16string& text);
    void Finish();
    [[nodiscard]] bool OpenNext();
    [[nodiscard]] bool Fail(std::string_view why);

    [[nodiscard]] bool Decode(std::u16string& text, std::size_t newFrom, std::size_t newStart);

    std::vector<std::string_view> names_;
    std::size_t next_ = 0;  // the name to open next
    bool dropByteOrderMarks_;
    int fd_ = -1;
    std::string name_;            // of the open file, for messages
    std::size_t fileOffset_ = 0;  // bytes of it read so far
    // Bytes read and not yet decoded. It begins with an incomplete sequence held over from the
    // end of the last block, which the next completes: heldName_ and heldOffset_ say where.
    std::string block_;
    std::size_t held_ = 0;
    std::string heldName_;
    std::size_t heldOffset_ = 0;
    bool atEnd_ = false;
    bool failed_ = false;
    std::future<Block> ahead_;  // the next block, being read
};

}  // namespace zelkora::cli
