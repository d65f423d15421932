// Saves what an X screen shows as a PNG file, so that a person can look at what the window test
// saw. Qt is already needed to build the window, so no image tool has to be installed for this.
//
// usage: e2e_grab_screen FILE.png [X Y WIDTH HEIGHT]   (the whole screen without a rectangle)
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QStringList>
#include <cstdio>

int main(int argc, char* argv[]) {
    const QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2 && arguments.size() != 6) {
        std::fputs("usage: e2e_grab_screen FILE.png [X Y WIDTH HEIGHT]\n", stderr);
        return 2;
    }
    int rect[4] = {0, 0, -1, -1};  // -1: to the screen's edge
    for (int i = 0; i < 4 && arguments.size() == 6; ++i) {
        bool ok = false;
        rect[i] = arguments[i + 2].toInt(&ok);
        if (!ok) {
            std::fprintf(stderr, "e2e_grab_screen: not a number: %s\n",
                         qPrintable(arguments[i + 2]));
            return 2;
        }
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        std::fputs("e2e_grab_screen: no screen\n", stderr);
        return 1;
    }
    // Window 0 is the root window: popup menus are separate windows, and only the root holds
    // them together with the window they belong to.
    const QPixmap shot = screen->grabWindow(0, rect[0], rect[1], rect[2], rect[3]);
    if (shot.isNull() || !shot.save(arguments[1], "PNG")) {
        std::fprintf(stderr, "e2e_grab_screen: cannot save %s\n", qPrintable(arguments[1]));
        return 1;
    }
    return 0;
}
