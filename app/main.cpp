#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "window/AppInfo.h"
#include "window/frmMain.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(
        QString::fromUtf16(zelkora::kApplicationTitle.data(),
                           static_cast<qsizetype>(zelkora::kApplicationTitle.size())));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(zelkora::kVersionMajor)
                                            .arg(zelkora::kVersionMinor)
                                            .arg(zelkora::kVersionRevision));
    // The window speaks Japanese whatever the locale, so Qt's own texts do too: the boxes'
    // context menus and the message boxes' buttons.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ja"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    zelkora::frmMain window;
    window.show();
    return QApplication::exec();
}
