#pragma once

#include <string_view>

namespace zelkora {

// The program's title names the window, titles its message boxes and is the section of
// setting.ini, so all three stay in step.
inline constexpr std::u16string_view kApplicationTitle = u"Zelkora";

inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 1;
inline constexpr int kVersionRevision = 2;

}  // namespace zelkora
