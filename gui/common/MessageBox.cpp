#include "gui/common/MessageBox.h"

#include <QMessageBox>

namespace zelkora {

void ShowMessageBox(QWidget* owner, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace zelkora
