#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace zelkora {

// Shows a modal message with an OK button only and no icon. The window takes it as a
// function object so that a test can stand in for the person who would press OK.
using MessageBoxFunction =
    std::function<void(QWidget* owner, const QString& title, const QString& text)>;

void ShowMessageBox(QWidget* owner, const QString& title, const QString& text);

}  // namespace zelkora
