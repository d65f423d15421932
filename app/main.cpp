#include <signal.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/TerminationSignals.h"
#include "core/common/AppInfo.h"
#include "core/common/ProgramPaths.h"
#include "gui/common/QtConversions.h"
#include "gui/window/frmMain.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(zelkora::ToQString(zelkora::kApplicationTitle));
    QApplication::setApplicationVersion(QString::fromLatin1(zelkora::kVersionText));
    // The window speaks Japanese whatever the locale, so Qt's own texts do too: the boxes'
    // context menus and the message boxes' buttons.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ja"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    zelkora::frmMainServices services;
    // /proc/self/exe is missing only without /proc; Qt then still knows the folder from argv.
    services.paths = zelkora::ThisProgramPaths().value_or(
        zelkora::PortablePaths(zelkora::ToPath(QCoreApplication::applicationDirPath())));
    // A folder that cannot be made is reported where it is missed: the settings menu finds no
    // tables, and closing cannot save setting.ini.
    static_cast<void>(zelkora::MakeUserFolders(services.paths));
    zelkora::frmMain window(std::move(services));
    // Being told to end, by a signal or by the desktop session ending, closes the window as the
    // user would, so its settings are saved, but unattended: a failure to save goes to standard
    // error, not into a message box no one may answer. A dialog left open does not keep the
    // program either.
    const auto end = [&window] {
        window.CloseUnattended();
        QCoreApplication::quit();
    };
    const zelkora::TerminationSignals endSignals({SIGTERM, SIGHUP, SIGINT}, end);
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &window, end);
    window.show();
    return QApplication::exec();
}
