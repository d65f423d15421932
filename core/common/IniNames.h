#pragma once

// setting.ini beside the program: the window and the command line read and write these.

#include <string_view>

#include "core/common/AppInfo.h"

namespace zelkora {

inline constexpr char kIniFileName[] = "setting.ini";

inline constexpr std::u16string_view kIniSection = kApplicationTitle;

inline constexpr std::u16string_view kIniKeyFile = u"File";  // the current table's name
inline constexpr std::u16string_view kIniKeyRet = u"Ret";    // the line-break option: -1 or 0
// The window's placement: 0 normal, 1 minimised, 2 maximised; for a normal window also its
// frame, in twips.
inline constexpr std::u16string_view kIniKeyWinState = u"WinState";
inline constexpr std::u16string_view kIniKeyX = u"X";
inline constexpr std::u16string_view kIniKeyY = u"Y";
inline constexpr std::u16string_view kIniKeyW = u"W";
inline constexpr std::u16string_view kIniKeyH = u"H";

}  // namespace zelkora
