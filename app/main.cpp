#include <QApplication>

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
    zelkora::frmMain window;
    window.show();
    return QApplication::exec();
}
