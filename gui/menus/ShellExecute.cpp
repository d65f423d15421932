#include "gui/menus/ShellExecute.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QUrl>
#include <cstdio>
#include <string>

#include "core/menus/MenusLogic.h"

namespace zelkora {

bool fShellExecute(const std::u16string& file, const std::u16string& directory) {
    const QString target = QString::fromStdU16String(file);
    const QString workingDirectory = QString::fromStdU16String(ShellDirectory(file, directory));
    bool started = false;
    if (workingDirectory.isEmpty()) {
        const QUrl url = IsAddress(file)
                             ? QUrl(target)
                             : QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
        started = QDesktopServices::openUrl(url);
    } else {
        // Only a process started there sees the working directory, and relative paths resolve
        // in it.
        started = QProcess::startDetached(QStringLiteral("xdg-open"), {target}, workingDirectory);
    }
    // The window stays silent, as designed; a terminal or the session's log tells why nothing
    // opened, which on Linux is mostly a desktop without xdg-open.
    if (!started) {
        std::fputs(("zelkora: cannot open '" + target.toStdString() +
                    "': nothing was started to open it (xdg-open, from xdg-utils, does)\n")
                       .c_str(),
                   stderr);
    }
    return started;
}

}  // namespace zelkora
