#include "core/engine/StringBuffer.h"

#include <algorithm>
#include <limits>

namespace zelkora {

namespace {

constexpr std::int32_t kDefaultCapacity = 128;
constexpr std::int64_t kMaxLength = std::numeric_limits<std::int32_t>::max();

}  // namespace

void StringBuffer::Init(std::int32_t initialCapacity) {
    length_ = 0;
    step_ = initialCapacity < 1 ? kDefaultCapacity : initialCapacity;
    buffer_.assign(static_cast<std::size_t>(step_), u'\0');
    capacity_ = step_;
}

void StringBuffer::AppendAny(std::u16string_view text) {
    const std::int64_t needed = std::int64_t{length_} + static_cast<std::int64_t>(text.size());
    // The counters are 32-bit; refusing beats wrapping them round and writing out of place.
    if (needed > kMaxLength) {
        return;
    }
    while (capacity_ < needed) {
        // Past 2^30 the doubled step no longer fits, so the last growth takes what is needed.
        const std::int64_t room = kMaxLength - capacity_;
        step_ = static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{step_} * 2, room));
        buffer_.append(static_cast<std::size_t>(step_), u'\0');
        capacity_ += step_;
    }
    std::copy(text.begin(), text.end(), buffer_.begin() + length_);
    length_ = static_cast<std::int32_t>(needed);
}

void StringBuffer::Text(std::u16string_view text) {
    if (static_cast<std::int64_t>(text.size()) > kMaxLength) {
        return;
    }
    buffer_.assign(text);
    length_ = static_cast<std::int32_t>(text.size());
    capacity_ = length_;
}

void StringBuffer::Clear() {
    buffer_.clear();
    length_ = 0;
    capacity_ = 0;
    Init(kDefaultCapacity);
}

std::u16string StringBuffer::ToString() const {
    return buffer_.substr(0, static_cast<std::size_t>(length_));
}

}  // namespace zelkora
