#include "gui/textbox/WebText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "gui/textbox/LongLineEditor.h"
#include "gui/textbox/VirtualKey.h"

namespace zelkora {
namespace {

// A text colour left empty, or one that does not parse, is the text area's own default: dark
// on a light box and light on a dark one, whatever the desktop's theme gives its text.
QColor TextColour(const QString& foreColor, const QColor& back) {
    if (const QColor fore(foreColor); fore.isValid()) {
        return fore;
    }
    return back.lightness() < 128 ? QColor(Qt::white) : QColor(Qt::black);
}

}  // namespace

WebText::WebText(const WebTextProperties& stored, QWidget* parent)
    : QWidget(parent), editor_(new LongLineEditor(this)), properties_(stored) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(editor_);
    // A thin frame of the style's own, inside the control's rectangle so the window's layout
    // arithmetic is untouched, tells the two boxes apart.
    editor_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    // Tab moves on to the next control, as in a form, instead of typing a tab character.
    editor_->setTabChangesFocus(true);
    editor_->installEventFilter(this);
    setFocusProxy(editor_);
    connect(editor_, &LongLineEditor::DropRefused, this, &WebText::DropRefused);
    ApplyProperties();
}

void WebText::SetBackColor(const QString& color) {
    properties_.BackColor = color;
    ApplyProperties();
}

void WebText::SetForeColor(const QString& color) {
    properties_.ForeColor = color;
    ApplyProperties();
}

void WebText::SetEnabled(bool enabled) {
    properties_.Enabled = enabled;
    ApplyProperties();
}

void WebText::SetFontSize(float pixels) {
    fontSize_ = pixels;
    ApplyProperties();
}

std::u16string WebText::Text() const {
    return editor_->Text();
}

void WebText::SetText(std::u16string_view text) {
    editor_->ReplaceText(text);
}

void WebText::sSetFocus() {
    editor_->setFocus();
}

void WebText::ApplyProperties() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(fontSize_))));
    editor_->setFont(font);

    // A background that does not parse leaves the default, as a browser drops a declaration it
    // cannot read. The disabled text keeps its grey.
    QPalette palette = QApplication::palette(editor_);
    if (const QColor back(properties_.BackColor); back.isValid()) {
        palette.setColor(QPalette::Base, back);
    }
    const QColor fore = TextColour(properties_.ForeColor, palette.color(QPalette::Base));
    palette.setColor(QPalette::Active, QPalette::Text, fore);
    palette.setColor(QPalette::Inactive, QPalette::Text, fore);
    editor_->setPalette(palette);

    editor_->setReadOnly(properties_.Locked);
    // A box only written by the program keeps no history of what it showed.
    editor_->setUndoRedoEnabled(!properties_.Locked);
    if (properties_.Locked) {
        // Read-only alone would leave only the mouse to select with.
        editor_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    editor_->setEnabled(properties_.Enabled);
}

bool WebText::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_) {
        if (event->type() == QEvent::KeyPress) {
            return FilterKeyPress(static_cast<const QKeyEvent&>(*event));
        }
        if (event->type() == QEvent::KeyRelease) {
            return FilterKeyRelease(static_cast<const QKeyEvent&>(*event));
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool WebText::FilterKeyPress(const QKeyEvent& event) {
    // A key without a virtual-key code raises no KeyDown, so that 0 always means "swallowed".
    if (std::int16_t keyCode = VirtualKeyCode(event.key(), event.modifiers()); keyCode != 0) {
        std::int16_t shift = ShiftState(event.modifiers());
        emit KeyDown(keyCode, shift);
        if (keyCode == 0) {
            return true;
        }
    }
    if (const QString typed = event.text(); typed.size() == 1) {
        std::int16_t keyAscii = static_cast<std::int16_t>(typed.front().unicode());
        if (keyAscii != 0) {
            emit KeyPress(keyAscii);
            if (keyAscii == 0) {
                return true;
            }
        }
    }
    return false;
}

bool WebText::FilterKeyRelease(const QKeyEvent& event) {
    if (std::int16_t keyCode = VirtualKeyCode(event.key(), event.modifiers()); keyCode != 0) {
        std::int16_t shift = ShiftState(event.modifiers());
        emit KeyUp(keyCode, shift);
        return keyCode == 0;
    }
    return false;
}

}  // namespace zelkora
