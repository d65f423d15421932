#pragma once

#include <QRect>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "core/common/mod_ini.h"

class QWidget;

namespace zelkora {

// The dots per inch that twips are converted with: the primary screen's logical density, the
// same for every window and every moment, so that what one run saves the next run reads back
// unchanged.
[[nodiscard]] double ScreenDpi();

// Writes "WinState" and, for a window in its normal state, "X", "Y", "H" and "W": the whole
// window with its frame, in twips. The keys in `first` go ahead of them in the same write, so
// that whatever the window saves on closing reaches setting.ini all at once; nothing is written
// when any of them cannot be.
[[nodiscard]] Result<> SaveWindowPlacement(const QWidget& window, const std::filesystem::path& file,
                                           std::vector<IniEntry> first = {});

// Reads the placement keys (each defaulting to the window's current value), moves and sizes the
// window and sets its state. A window that is not shown yet does not know its frame, so when a
// saved size was applied the frame rectangle is returned, in pixels, for FitFrame to apply again
// once the window is framed.
std::optional<QRect> RestoreWindowPlacement(QWidget& window, const std::filesystem::path& file);

// Moves and sizes a shown window so that its frame covers frame; a window whose position was
// left to the window system is only sized.
void FitFrame(QWidget& window, const QRect& frame);

}  // namespace zelkora
