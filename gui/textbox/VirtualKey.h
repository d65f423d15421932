#pragma once

#include <Qt>
#include <cstdint>

namespace zelkora {

// The key codes the box reports are Windows virtual-key codes (32 space, 48-57 digits, 65-90
// letters, 112 F1...), the same for a key whatever the shift state, so that owners can test
// for a key without caring which layer of the keyboard produced it. Keys without such a code
// give 0.
[[nodiscard]] std::int16_t VirtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);

// 1 Shift, 2 Ctrl, 4 Alt, added together.
[[nodiscard]] std::int16_t ShiftState(Qt::KeyboardModifiers modifiers);

}  // namespace zelkora
