#include "gui/textbox/VirtualKey.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zelkora {
namespace {

using KeyPair = std::pair<int, std::int16_t>;

constexpr std::array kNamedKeys{
    KeyPair{Qt::Key_Backspace, 8},    KeyPair{Qt::Key_Tab, 9},       KeyPair{Qt::Key_Backtab, 9},
    KeyPair{Qt::Key_Clear, 12},       KeyPair{Qt::Key_Return, 13},   KeyPair{Qt::Key_Enter, 13},
    KeyPair{Qt::Key_Shift, 16},       KeyPair{Qt::Key_Control, 17},  KeyPair{Qt::Key_Alt, 18},
    KeyPair{Qt::Key_Pause, 19},       KeyPair{Qt::Key_CapsLock, 20}, KeyPair{Qt::Key_Escape, 27},
    KeyPair{Qt::Key_Henkan, 28},      KeyPair{Qt::Key_Muhenkan, 29}, KeyPair{Qt::Key_Space, 32},
    KeyPair{Qt::Key_PageUp, 33},      KeyPair{Qt::Key_PageDown, 34}, KeyPair{Qt::Key_End, 35},
    KeyPair{Qt::Key_Home, 36},        KeyPair{Qt::Key_Left, 37},     KeyPair{Qt::Key_Up, 38},
    KeyPair{Qt::Key_Right, 39},       KeyPair{Qt::Key_Down, 40},     KeyPair{Qt::Key_Select, 41},
    KeyPair{Qt::Key_Execute, 43},     KeyPair{Qt::Key_Print, 44},    KeyPair{Qt::Key_Insert, 45},
    KeyPair{Qt::Key_Delete, 46},      KeyPair{Qt::Key_Help, 47},     KeyPair{Qt::Key_Meta, 91},
    KeyPair{Qt::Key_Menu, 93},        KeyPair{Qt::Key_Sleep, 95},    KeyPair{Qt::Key_NumLock, 144},
    KeyPair{Qt::Key_ScrollLock, 145},
};

// Punctuation, by its place on a US keyboard: Windows names the key, not the character, so the
// shifted character reports its unshifted key ("!" is the key "1").
constexpr std::array kPunctuationKeys{
    KeyPair{'!', '1'},  KeyPair{'@', '2'},  KeyPair{'#', '3'}, KeyPair{'$', '4'}, KeyPair{'%', '5'},
    KeyPair{'^', '6'},  KeyPair{'&', '7'},  KeyPair{'*', '8'}, KeyPair{'(', '9'}, KeyPair{')', '0'},
    KeyPair{';', 186},  KeyPair{':', 186},  KeyPair{'=', 187}, KeyPair{'+', 187}, KeyPair{',', 188},
    KeyPair{'<', 188},  KeyPair{'-', 189},  KeyPair{'_', 189}, KeyPair{'.', 190}, KeyPair{'>', 190},
    KeyPair{'/', 191},  KeyPair{'?', 191},  KeyPair{'`', 192}, KeyPair{'~', 192}, KeyPair{'[', 219},
    KeyPair{'{', 219},  KeyPair{'\\', 220}, KeyPair{'|', 220}, KeyPair{']', 221}, KeyPair{'}', 221},
    KeyPair{'\'', 222}, KeyPair{'"', 222},
};

// The numeric keypad has keys of its own, apart from the digits and signs of the main block.
constexpr std::array kKeypadKeys{
    KeyPair{'*', 106}, KeyPair{'+', 107}, KeyPair{',', 108},
    KeyPair{'-', 109}, KeyPair{'.', 110}, KeyPair{'/', 111},
};

template <std::size_t N>
std::int16_t Find(const std::array<KeyPair, N>& table, int qtKey) {
    const auto found = std::find_if(table.begin(), table.end(),
                                    [qtKey](const KeyPair& pair) { return pair.first == qtKey; });
    return found != table.end() ? found->second : std::int16_t{0};
}

}  // namespace

std::int16_t VirtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        const int code = keypad ? 96 + (qtKey - Qt::Key_0) : qtKey;
        return static_cast<std::int16_t>(code);
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return static_cast<std::int16_t>(qtKey);
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return static_cast<std::int16_t>(112 + (qtKey - Qt::Key_F1));
    }
    if (keypad) {
        if (const std::int16_t code = Find(kKeypadKeys, qtKey); code != 0) {
            return code;
        }
    }
    if (const std::int16_t code = Find(kPunctuationKeys, qtKey); code != 0) {
        return code;
    }
    return Find(kNamedKeys, qtKey);
}

std::int16_t ShiftState(Qt::KeyboardModifiers modifiers) {
    int state = 0;
    if (modifiers.testFlag(Qt::ShiftModifier)) {
        state |= 1;
    }
    if (modifiers.testFlag(Qt::ControlModifier)) {
        state |= 2;
    }
    if (modifiers.testFlag(Qt::AltModifier)) {
        state |= 4;
    }
    return static_cast<std::int16_t>(state);
}

}  // namespace zelkora
