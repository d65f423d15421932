#include "textbox/WebText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "textbox/VirtualKey.h"

namespace zelkora {
namespace {

// The editor lays out a paragraph whole, and again at every change of width, in time that
// grows with its length: a line of 3 MiB of codes takes seconds. So in a Locked box a line
// longer than kPieceLength is shown as paragraphs of about that length, only those on screen
// are laid out, and the blocks that go on the line above carry kContinuation: Text and copying
// join them again without a line break, so the text stays exactly what was set. A box the user
// edits shows its lines whole: typing or deleting at a cut would blur it with a line break.
constexpr std::size_t kPieceLength = 4096;
constexpr int kContinuation = 1;  // QTextBlock::userState(); -1 is Qt's default
// A piece ends after a space when one lies this close to its end, so codes break where
// wrapping would have broken them.
constexpr std::size_t kSpaceSearch = 64;

struct ShownText {
    std::u16string text;             // with U+2029 between pieces
    std::vector<int> continuations;  // numbers of the blocks that go on the line above
};

bool IsLineEnd(char16_t c) {
    return c == u'\r' || c == u'\n' || c == u'\u2029';
}

std::size_t PieceEnd(std::u16string_view text, std::size_t start) {
    const std::size_t end = start + kPieceLength;
    for (std::size_t at = end; at > end - kSpaceSearch; --at) {
        if (text[at - 1] == u' ') {
            return at;
        }
    }
    const bool splitsPair =
        QChar::isHighSurrogate(text[end - 1]) && QChar::isLowSurrogate(text[end]);
    return splitsPair ? end - 1 : end;
}

// Nothing when no line is too long, so ordinary text is shown as it is.
std::optional<ShownText> CutLongLines(std::u16string_view text) {
    std::size_t longest = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = start;
        while (end < text.size() && !IsLineEnd(text[end])) {
            ++end;
        }
        longest = std::max(longest, end - start);
        start = end + 1;
    }
    if (longest <= kPieceLength) {
        return std::nullopt;
    }

    ShownText shown;
    shown.text.reserve(text.size() + text.size() / kPieceLength);
    int block = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = start;
        while (end < text.size() && !IsLineEnd(text[end])) {
            ++end;
        }
        while (end - start > kPieceLength) {
            const std::size_t cut = PieceEnd(text, start);
            shown.text.append(text.substr(start, cut - start)).push_back(u'\u2029');
            shown.continuations.push_back(++block);
            start = cut;
        }
        shown.text.append(text.substr(start, end - start));
        if (end == text.size()) {
            break;
        }
        // The editor takes CR LF as one line end, as it takes a lone CR, LF or U+2029.
        const std::size_t breakLength =
            text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1;
        shown.text.append(text.substr(end, breakLength));
        ++block;
        start = end + breakLength;
    }
    return shown;
}

// Copies what a plain editor would copy, with the pieces of a long line joined again.
class Editor : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    QMimeData* createMimeDataFromSelection() const override {
        const QTextCursor cursor = textCursor();
        const QTextBlock first = document()->findBlock(cursor.selectionStart());
        const QTextBlock last = document()->findBlock(cursor.selectionEnd());
        bool joins = false;
        for (QTextBlock block = first; block != last; block = block.next()) {
            joins = joins || block.next().userState() == kContinuation;
        }
        if (!joins) {
            return QPlainTextEdit::createMimeDataFromSelection();
        }
        QString text;
        for (QTextBlock block = first;; block = block.next()) {
            if (block != first && block.userState() != kContinuation) {
                text += u'\n';
            }
            const int from = block == first ? cursor.selectionStart() - block.position() : 0;
            const int to =
                block == last ? cursor.selectionEnd() - block.position() : block.length() - 1;
            text += block.text().mid(from, to - from);
            if (block == last) {
                break;
            }
        }
        // As QTextDocument::toPlainText gives it, which the editor's own copy uses.
        for (QChar& c : text) {
            if (c == QChar::LineSeparator) {
                c = u'\n';
            } else if (c == QChar::Nbsp) {
                c = u' ';
            }
        }
        auto* mime = new QMimeData;
        mime->setText(text);
        return mime;
    }
};

}  // namespace

WebText::WebText(const WebTextProperties& stored, QWidget* parent)
    : QWidget(parent), editor_(new Editor(this)), properties_(stored) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(editor_);
    editor_->setFrameShape(QFrame::NoFrame);
    // Tab moves on to the next control, as in a form, instead of typing a tab character.
    editor_->setTabChangesFocus(true);
    editor_->installEventFilter(this);
    setFocusProxy(editor_);
    Update();
}

void WebText::SetBackColor(const QString& vNewValue) {
    properties_.BackColor = vNewValue;
    Update();
}

void WebText::SetForeColor(const QString& vNewValue) {
    properties_.ForeColor = vNewValue;
    Update();
}

void WebText::SetEnabled(bool New_Enabled) {
    properties_.Enabled = New_Enabled;
    Update();
}

void WebText::SetLocked(bool New_Value) {
    properties_.Locked = New_Value;
    Update();
}

void WebText::SetFontSize(float New_FontSize) {
    fontSize_ = New_FontSize;
    Update();
}

std::u16string WebText::Text() const {
    const QTextDocument& document = *editor_->document();
    std::u16string text;
    if (showsPieces_) {
        text.reserve(static_cast<std::size_t>(document.characterCount()));
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            if (block != document.begin() && block.userState() != kContinuation) {
                text.append(u"\r\n");
            }
            const QString piece = block.text();
            text.append(reinterpret_cast<const char16_t*>(piece.constData()),
                        static_cast<std::size_t>(piece.size()));
        }
        return text;
    }
    // The document keeps each line end as U+2029; toPlainText() would also turn U+00A0 into a
    // space, so the raw text is read and only the line ends are spelled out.
    const QString raw = document.toRawText();
    text.reserve(static_cast<std::size_t>(raw.size()) +
                 static_cast<std::size_t>(raw.count(QChar::ParagraphSeparator)));
    for (const QChar c : raw) {
        if (c == QChar::ParagraphSeparator) {
            text.append(u"\r\n");
        } else {
            text.push_back(c.unicode());
        }
    }
    return text;
}

void WebText::SetText(std::u16string_view New_Value) {
    const std::optional<ShownText> pieces =
        properties_.Locked ? CutLongLines(New_Value) : std::nullopt;
    const std::u16string_view shown = pieces ? std::u16string_view(pieces->text) : New_Value;
    editor_->setPlainText(QString::fromUtf16(shown.data(), static_cast<qsizetype>(shown.size())));
    showsPieces_ = pieces.has_value();
    if (pieces) {
        QTextBlock block = editor_->document()->begin();
        int number = 0;
        for (const int continuation : pieces->continuations) {
            for (; number < continuation; ++number) {
                block = block.next();
            }
            block.setUserState(kContinuation);
        }
    }
}

void WebText::sSetFocus() {
    editor_->setFocus();
}

void WebText::Update() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(fontSize_))));
    editor_->setFont(font);

    // Colours that do not parse leave the default, as a browser drops a declaration it cannot
    // read. The disabled text keeps its grey.
    QPalette palette = QApplication::palette(editor_);
    if (const QColor back(properties_.BackColor); back.isValid()) {
        palette.setColor(QPalette::Base, back);
    }
    if (const QColor fore(properties_.ForeColor); fore.isValid()) {
        palette.setColor(QPalette::Active, QPalette::Text, fore);
        palette.setColor(QPalette::Inactive, QPalette::Text, fore);
    }
    editor_->setPalette(palette);

    editor_->setReadOnly(properties_.Locked);
    if (showsPieces_ && !properties_.Locked) {
        SetText(Text());
    }
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
    // The editor would put U+2028 into the text for Shift+Enter, which Text could not tell from
    // a pasted U+2028; a line break typed any way is an ordinary one.
    if (event.matches(QKeySequence::InsertLineSeparator) && !editor_->isReadOnly()) {
        editor_->insertPlainText(QStringLiteral("\n"));
        return true;
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
