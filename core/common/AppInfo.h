#pragma once

#include <string_view>

#include "core/common/Version.h"

namespace zelkora {

// The program's title names the window, titles its message boxes and is the section of
// setting.ini, so all three stay in step.
inline constexpr std::u16string_view kApplicationTitle = u"Zelkora";

}  // namespace zelkora
