#pragma once

// One ICU converter, opened for one decoding. Private to encoding/.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/encoding/IcuConverter.h"

namespace zelkora {

class IcuDecoder {
public:
    // Opens the converter ICU knows by that name; IsOpen() tells whether it could.
    explicit IcuDecoder(const char* charset);
    IcuDecoder(const IcuDecoder&) = delete;
    IcuDecoder& operator=(const IcuDecoder&) = delete;
    IcuDecoder(IcuDecoder&&) = delete;
    IcuDecoder& operator=(IcuDecoder&&) = delete;

    [[nodiscard]] bool IsOpen() const { return converter_ != nullptr; }

    // Decodes bytes that end on a character boundary and appends them to text. Invalid and
    // unmapped bytes become U+FFFD and are counted. False if ICU fails otherwise.
    [[nodiscard]] bool Append(std::span<const std::uint8_t> bytes, std::u16string& text);

    [[nodiscard]] std::size_t Substitutions() const { return substitutions_; }

private:
    IcuConverter converter_;
    std::size_t substitutions_ = 0;
    bool rotatesControls_ = false;
};

// The whole of bytes decoded by one converter: the empty text when the converter cannot be
// opened or fails. substitutions, when given, receives the number of U+FFFD substituted.
[[nodiscard]] std::u16string DecodeWithIcu(const char* charset, std::span<const std::uint8_t> bytes,
                                           std::size_t* substitutions);

}  // namespace zelkora
