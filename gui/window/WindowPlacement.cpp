#include "gui/window/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QString>
#include <QWidget>
#include <vector>

#include "core/common/IniNames.h"
#include "core/common/mod_ini.h"
#include "core/window/WindowLayout.h"

namespace zelkora {
namespace {

constexpr double kFallbackDpi = 96.0;

std::int32_t Twips(int pixels, double dpi) {
    return static_cast<std::int32_t>(RoundHalfEven(TwipsFromPixels(pixels, dpi)));
}

Rect TwipsRect(const QRect& pixels, double dpi) {
    return {Twips(pixels.x(), dpi), Twips(pixels.y(), dpi), Twips(pixels.width(), dpi),
            Twips(pixels.height(), dpi)};
}

Rect ToRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

std::int32_t WinState(Qt::WindowStates states) {
    if (states.testFlag(Qt::WindowMinimized)) {
        return 1;
    }
    if (states.testFlag(Qt::WindowMaximized) || states.testFlag(Qt::WindowFullScreen)) {
        return 2;
    }
    return 0;
}

Qt::WindowState WindowState(std::int32_t winState) {
    switch (winState) {
        case 1:
            return Qt::WindowMinimized;
        case 2:
            return Qt::WindowMaximized;
        default:
            return Qt::WindowNoState;
    }
}

}  // namespace

double ScreenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInch() : 0.0;
    return dpi > 0.0 ? dpi : kFallbackDpi;
}

Result<> SaveWindowPlacement(const QWidget& window, const std::filesystem::path& file,
                             std::vector<IniEntry> first) {
    std::vector<IniEntry>& entries = first;
    std::vector<QString> numbers;  // the values' storage, alive until the write
    numbers.reserve(5);
    const auto add = [&](std::u16string_view key, std::int32_t value) {
        numbers.push_back(QString::number(value));
        entries.push_back(
            {key, std::u16string_view(reinterpret_cast<const char16_t*>(numbers.back().utf16()),
                                      static_cast<std::size_t>(numbers.back().size()))});
    };
    const std::int32_t winState = WinState(window.windowState());
    add(kIniKeyWinState, winState);
    if (winState == 0) {
        const Rect frame = TwipsRect(window.frameGeometry(), ScreenDpi());
        add(kIniKeyX, frame.left);
        add(kIniKeyY, frame.top);
        add(kIniKeyH, frame.height);
        add(kIniKeyW, frame.width);
    }
    return WriteIniStrings(kIniSection, entries, file);
}

std::optional<QRect> RestoreWindowPlacement(QWidget& window, const std::filesystem::path& file) {
    const double dpi = ScreenDpi();
    const Rect current = TwipsRect(window.frameGeometry(), dpi);
    Placement saved;
    saved.frame.left = GetIniInt(kIniSection, kIniKeyX, current.left, file);
    saved.frame.top = GetIniInt(kIniSection, kIniKeyY, current.top, file);
    saved.frame.width = GetIniInt(kIniSection, kIniKeyW, current.width, file);
    saved.frame.height = GetIniInt(kIniSection, kIniKeyH, current.height, file);
    saved.winState = GetIniInt(kIniSection, kIniKeyWinState, 0, file);
    const Placement placement = AcceptablePlacement(saved, current);

    std::vector<Rect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens.push_back(ToRect(screen->geometry()));
    }
    Rect frame = PixelRectFromTwips(placement.frame, dpi);
    if (const QScreen* primary = QGuiApplication::primaryScreen(); primary != nullptr) {
        frame = MendOffScreen(frame, screens, ToRect(primary->availableGeometry()));
    }
    const QRect applied(frame.left, frame.top, frame.width, frame.height);
    // Without a position of its own (no setting.ini yet) the window system places the window.
    // Before it is shown, a moved window keeps its frame, not its client area, at the position.
    if (applied.topLeft() != window.frameGeometry().topLeft()) {
        window.move(applied.topLeft());
    }
    window.resize(applied.size() - (window.frameGeometry().size() - window.size()));
    window.setWindowState(WindowState(placement.winState));
    // A size that is the current one (no size saved) is the client's design size and stays so,
    // however large the frame turns out to be.
    const bool sized =
        placement.frame.width != current.width || placement.frame.height != current.height;
    return sized ? std::optional(applied) : std::nullopt;
}

void FitFrame(QWidget& window, const QRect& frame) {
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    const QRect client =
        frame.adjusted(inner.left() - outer.left(), inner.top() - outer.top(),
                       inner.right() - outer.right(), inner.bottom() - outer.bottom());
    // The client rectangle in one operation: moving and resizing one after the other can leave
    // the frame off by its border, the window system placing the resized frame its own way.
    if (window.testAttribute(Qt::WA_Moved)) {
        window.setGeometry(client);
    } else {
        window.resize(client.size());
    }
}

}  // namespace zelkora
