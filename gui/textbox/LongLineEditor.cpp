#include "gui/textbox/LongLineEditor.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>
#include <variant>

#include "gui/common/QtConversions.h"
#include "gui/textbox/DroppedFile.h"

namespace zelkora {
namespace {

// Long enough that ordinary lines are never cut, short enough that laying out one piece after
// a key takes a few milliseconds.
constexpr std::size_t kPieceLength = 4096;
// A piece ends after a space when one lies this close to its end, so codes break where
// wrapping would have broken them.
constexpr std::size_t kSpaceSearch = 64;

// The block format property that marks the other side of a cut from kContinuesLine: a block
// whose line goes on in the block below.
constexpr int kEndsAtCut = QTextFormat::UserProperty + 2;

bool Marked(const QTextBlock& block, int mark) {
    return block.isValid() && block.blockFormat().boolProperty(mark);
}

bool ContinuesLine(const QTextBlock& block) {
    return Marked(block, LongLineEditor::kContinuesLine);
}

void SetMark(QTextBlockFormat& format, int mark, bool on) {
    if (on) {
        format.setProperty(mark, true);
    } else {
        format.clearProperty(mark);
    }
}

// Starts a new block at the cursor: the next piece of the line at a cut, else a new line. The
// new block ends where the cursor's did, at a cut when the block below goes on its line (asked
// of that block: the cursor's may have just been merged, and carry another's marks).
void SplitBlock(QTextCursor& cursor, bool cut) {
    const bool endsAtCut = ContinuesLine(cursor.block().next());
    QTextBlockFormat head = cursor.blockFormat();
    SetMark(head, kEndsAtCut, cut);
    cursor.setBlockFormat(head);
    QTextBlockFormat tail;
    SetMark(tail, LongLineEditor::kContinuesLine, cut);
    SetMark(tail, kEndsAtCut, endsAtCut);
    cursor.insertBlock(tail);
}

// Whether the selection holds no character, only the cuts between pieces of a line, as Shift
// and an arrow key select at a cut: it selects nothing of the text.
bool SelectsOnlyCuts(const QTextCursor& cursor) {
    const QTextDocument& document = *cursor.document();
    for (int at = cursor.selectionStart(); at < cursor.selectionEnd(); ++at) {
        const QTextBlock block = document.findBlock(at);
        if (at != block.position() + block.length() - 1 || !ContinuesLine(block.next())) {
            return false;
        }
    }
    return cursor.hasSelection();
}

bool IsLineEnd(char16_t c) {
    return c == u'\r' || c == u'\n' || c == u'\u2029';
}

std::size_t PieceEnd(std::u16string_view line) {
    for (std::size_t at = kPieceLength; at > kPieceLength - kSpaceSearch; --at) {
        if (line[at - 1] == u' ') {
            return at;
        }
    }
    const bool splitsPair =
        QChar::isHighSurrogate(line[kPieceLength - 1]) && QChar::isLowSurrogate(line[kPieceLength]);
    return splitsPair ? kPieceLength - 1 : kPieceLength;
}

// The local files a drag carries; none when it carries anything else as well.
QStringList LocalFiles(const QMimeData& source) {
    QStringList files;
    for (const QUrl& url : source.urls()) {
        if (!url.isLocalFile()) {
            return {};
        }
        files << url.toLocalFile();
    }
    return files;
}

}  // namespace

LongLineEditor::LongLineEditor(QWidget* parent) : QPlainTextEdit(parent) {
    connect(document(), &QTextDocument::contentsChange, this, &LongLineEditor::RepairMarks);
}

// Each cut is marked on both sides. When an edit merges blocks, Qt keeps the format of one of
// them (the last when the text removed begins at the start of a block, else the first), so the
// blocks where the change begins and ends may carry marks of another; the blocks around the
// change are untouched, and say where the cuts are. The repair joins the edit, so undo takes
// both back at once.
void LongLineEditor::RepairMarks(int position, int /*removed*/, int added) {
    if (repairing_) {
        return;
    }
    const QTextBlock first = document()->findBlock(position);
    const QTextBlock last =
        document()->findBlock(std::min(position + added, document()->characterCount() - 1));
    const bool continues = Marked(first.previous(), kEndsAtCut);
    const bool endsAtCut = ContinuesLine(last.next());
    if (ContinuesLine(first) == continues && Marked(last, kEndsAtCut) == endsAtCut) {
        return;
    }
    repairing_ = true;
    QTextCursor cursor(document());
    cursor.joinPreviousEditBlock();
    cursor.setPosition(first.position());
    QTextBlockFormat format = cursor.blockFormat();
    SetMark(format, LongLineEditor::kContinuesLine, continues);
    cursor.setBlockFormat(format);
    cursor.setPosition(last.position());
    format = cursor.blockFormat();
    SetMark(format, kEndsAtCut, endsAtCut);
    cursor.setBlockFormat(format);
    cursor.endEditBlock();
    repairing_ = false;
}

std::u16string LongLineEditor::Text() const {
    const QTextDocument& document = *this->document();
    std::u16string text;
    text.reserve(static_cast<std::size_t>(document.characterCount()));
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin() && !ContinuesLine(block)) {
            text.append(u"\r\n");
        }
        // The block's raw text: toPlainText() would also turn U+00A0 into a space.
        const QString piece = block.text();
        text.append(reinterpret_cast<const char16_t*>(piece.constData()),
                    static_cast<std::size_t>(piece.size()));
    }
    return text;
}

void LongLineEditor::ReplaceText(std::u16string_view text) {
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    cursor.setBlockFormat(QTextBlockFormat());
    Insert(cursor, text);
    cursor.endEditBlock();
    // As a newly written box shows it: from its beginning.
    moveCursor(QTextCursor::Start);
}

void LongLineEditor::Insert(QTextCursor& cursor, std::u16string_view text) {
    for (std::size_t start = 0;;) {
        std::size_t end = start;
        while (end < text.size() && !IsLineEnd(text[end])) {
            ++end;
        }
        std::u16string_view line = text.substr(start, end - start);
        while (line.size() > kPieceLength) {
            const std::size_t cut = PieceEnd(line);
            cursor.insertText(ToQString(line.substr(0, cut)));
            SplitBlock(cursor, true);
            line.remove_prefix(cut);
        }
        cursor.insertText(ToQString(line));
        if (end == text.size()) {
            return;
        }
        SplitBlock(cursor, false);
        const bool crLf = text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n';
        start = end + (crLf ? 2 : 1);
    }
}

void LongLineEditor::InsertAtCursor(std::u16string_view text) {
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    Insert(cursor, text);
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

void LongLineEditor::keyPressEvent(QKeyEvent* event) {
    if (isReadOnly()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    // Shift+Enter would put U+2028 into the text, which Text could not tell from a pasted
    // U+2028: a line break typed any way is an ordinary one.
    if (event->matches(QKeySequence::InsertParagraphSeparator) ||
        event->matches(QKeySequence::InsertLineSeparator)) {
        InsertAtCursor(u"\n");
        return;
    }
    // Ctrl+Y redoes on every desktop, as Ctrl+Shift+Z does; some key schemes know only one.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->matches(QKeySequence::Redo) ||
        (event->key() == Qt::Key_Y && modifiers == Qt::ControlModifier) ||
        (event->key() == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier))) {
        redo();
        return;
    }
    QTextCursor cursor = textCursor();
    // A cut is no character: Right and Left step over it to move by a character of the line, as
    // at the end of a wrapped line in any editor.
    const bool right = event->matches(QKeySequence::MoveToNextChar) ||
                       event->matches(QKeySequence::SelectNextChar);
    const bool left = event->matches(QKeySequence::MoveToPreviousChar) ||
                      event->matches(QKeySequence::SelectPreviousChar);
    if ((right || left) && (!cursor.hasSelection() || (modifiers & Qt::ShiftModifier))) {
        const auto mode =
            (modifiers & Qt::ShiftModifier) ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
        while (right && cursor.atBlockEnd() && ContinuesLine(cursor.block().next())) {
            cursor.movePosition(QTextCursor::NextCharacter, mode);
        }
        while (left && cursor.atBlockStart() && ContinuesLine(cursor.block())) {
            cursor.movePosition(QTextCursor::PreviousCharacter, mode);
        }
        setTextCursor(cursor);
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    const bool backspace =
        event->key() == Qt::Key_Backspace && (modifiers & ~Qt::ShiftModifier) == Qt::NoModifier;
    const bool del = event->matches(QKeySequence::Delete);
    // A selection of nothing but cuts selects no text: Backspace and Delete act as with none.
    if ((backspace || del) && SelectsOnlyCuts(cursor)) {
        cursor.clearSelection();
        setTextCursor(cursor);
    }
    // At a block's edge, Backspace and Delete are done here. At a cut they remove the character
    // beyond it, as they would in the line it is part of, rather than the cut, which is no
    // character at all. At a line break they merge two blocks, whose marks RepairMarks then
    // sets: in one edit with the removal, so that undo takes both back at once.
    if (!cursor.hasSelection() && backspace && cursor.atBlockStart()) {
        cursor.beginEditBlock();
        while (cursor.atBlockStart() && ContinuesLine(cursor.block())) {
            cursor.movePosition(QTextCursor::PreviousCharacter);
        }
        cursor.deletePreviousChar();
        cursor.endEditBlock();
    } else if (!cursor.hasSelection() && del && cursor.atBlockEnd()) {
        cursor.beginEditBlock();
        while (cursor.atBlockEnd() && ContinuesLine(cursor.block().next())) {
            cursor.movePosition(QTextCursor::NextCharacter);
        }
        cursor.deleteChar();
        cursor.endEditBlock();
    } else {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    setTextCursor(cursor);
    ensureCursorVisible();
}

// Copies what a plain editor would copy, with the pieces of a long line joined again.
QMimeData* LongLineEditor::createMimeDataFromSelection() const {
    const QTextCursor cursor = textCursor();
    const QTextBlock first = document()->findBlock(cursor.selectionStart());
    const QTextBlock last = document()->findBlock(cursor.selectionEnd());
    bool joins = false;
    for (QTextBlock block = first; block != last; block = block.next()) {
        joins = joins || ContinuesLine(block.next());
    }
    if (!joins) {
        return QPlainTextEdit::createMimeDataFromSelection();
    }
    QString text;
    for (QTextBlock block = first;; block = block.next()) {
        if (block != first && !ContinuesLine(block)) {
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

bool LongLineEditor::canInsertFromMimeData(const QMimeData* source) const {
    return !LocalFiles(*source).isEmpty() || QPlainTextEdit::canInsertFromMimeData(source);
}

// Pasted and dropped text goes in through Insert, so a long line arrives in pieces; dropped
// files give their text, or a message saying why they give none.
void LongLineEditor::insertFromMimeData(const QMimeData* source) {
    if (isReadOnly()) {
        return;
    }
    const QStringList files = LocalFiles(*source);
    if (files.isEmpty()) {
        InsertAtCursor(source->text().toStdU16String());
        return;
    }
    for (const QString& file : files) {
        const DroppedText dropped = TextOfDroppedFile(ToPath(file));
        if (dropped) {
            InsertAtCursor(*dropped);
        } else {
            emit DropRefused(QString::fromStdU16String(
                DropRefusalMessage(dropped.error(), QFileInfo(file).fileName().toStdU16String())));
        }
    }
}

}  // namespace zelkora
