#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelkora {

// Growable text buffer: reserves ahead by a step that doubles at each growth, so a buffer
// started at 128 grows to 384, 896, 1920 characters. Codes to text uses Append and ToString;
// Init, Text, Clear and Capacity complete the design's class, and show its tests that growth.
class StringBuffer {
public:
    StringBuffer() { Init(128); }
    StringBuffer(const StringBuffer&) = delete;
    StringBuffer& operator=(const StringBuffer&) = delete;

    void Init(std::int32_t initialCapacity);
    void Append(std::u16string_view text) {
        // Most appends are one character of a table entry, into room reserved ahead; done here,
        // they cost no call and no copy of unknown length.
        if (text.size() == 1 && length_ < capacity_) {
            buffer_[static_cast<std::size_t>(length_++)] = text[0];
            return;
        }
        AppendAny(text);
    }
    [[nodiscard]] std::u16string Text() const { return ToString(); }
    void Text(std::u16string_view text);
    void Clear();
    [[nodiscard]] std::u16string ToString() const;
    [[nodiscard]] std::int32_t Capacity() const { return capacity_; }

private:
    void AppendAny(std::u16string_view text);

    std::u16string buffer_;
    std::int32_t length_ = 0;
    std::int32_t step_ = 0;
    std::int32_t capacity_ = 0;
};

}  // namespace zelkora
