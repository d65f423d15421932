#pragma once

#include <string>
#include <string_view>

namespace zelkora {

// How a table writes a two-byte code. Conversions write a code's digits lowest byte first, so a
// code written with its bytes reversed (A082 for the Shift_JIS bytes 82 A0) converts to the
// bytes in the order a file holds them, and codes to text always starts a pair at a lead byte.
enum class CodeForm {
    FileOrder,      // A082: あ converts to 82 A0, as Shift_JIS stores it
    LeadByteFirst,  // 82A0, as charts print it: あ converts to A0 82
};

// A code of three or four digits with its two byte groups swapped: "82a0" gives "a082", and
// "123", read as 0123, gives "2301". The digits keep their case.
[[nodiscard]] std::u16string SwapByteGroups(std::u16string_view twoByteCode);

// The header line of a table written in file order, with one of its entries as the example:
// the character and its code lead byte first ("8391" for ヱ, bytes 83 91, written 9183).
[[nodiscard]] std::u16string FileOrderNote(std::u16string_view character,
                                           std::u16string_view leadByteFirstCode);

}  // namespace zelkora
