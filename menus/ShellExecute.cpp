#include "menus/ShellExecute.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QUrl>

#include "menus/MenusLogic.h"

namespace zelkora {

bool fShellExecute(QWidget* /*window*/, const std::u16string& file,
                   const std::u16string& /*parameters*/, const std::u16string& directory) {
    const QString target = QString::fromStdU16String(file);
    const QString workingDirectory = QString::fromStdU16String(ShellDirectory(file, directory));
    if (workingDirectory.isEmpty()) {
        const QUrl url = IsAddress(file)
                             ? QUrl(target)
                             : QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
        return QDesktopServices::openUrl(url);
    }
    // Only a process started there sees the working directory, and relative paths resolve in it.
    return QProcess::startDetached(QStringLiteral("xdg-open"), {target}, workingDirectory);
}

}  // namespace zelkora
