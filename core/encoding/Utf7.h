#pragma once

// A lenient UTF-7 decoder. Private to encoding/.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace zelkora {

// RFC 2152 shifts ("+", modified base64, optionally "-") decode to their code units. Table files
// are often written by hand, so every other byte below 0x80 stands for itself, the backslash
// and the tilde included (strict decoders reject them, which would lose the "\n" token). "+-"
// is a plus sign, and so is a "+" that no base64 character follows. A shift ends at any byte
// outside the alphabet; a "-" that ends it is dropped, as are the bits left over at its end.
// Bytes of 0x80 and above become U+FFFD, counted in substitutions when given.
[[nodiscard]] std::u16string DecodeUtf7(std::span<const std::uint8_t> bytes,
                                        std::size_t* substitutions);

}  // namespace zelkora
