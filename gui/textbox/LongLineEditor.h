#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <QTextFormat>
#include <string>
#include <string_view>

class QTextCursor;

namespace zelkora {

// A plain-text editor that stays quick on lines of any length, such as a pasted hex dump.
//
// The editor lays out a paragraph whole, and again at every change inside it, in time that grows
// with its length (with the default wrapping, faster than linearly once the line has no space):
// a line of 1 MiB took seconds for each key. So a line longer than a few thousand code units is
// held as paragraphs of about that length, of which only those on screen are laid out. A
// paragraph that goes on the line above carries a mark in its block format, and so does the one
// above it, which undo and redo keep with the paragraphs; the text, copying and editing across
// such a cut treat the line as one, so where the cuts lie never shows in the text.
class LongLineEditor : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit LongLineEditor(QWidget* parent = nullptr);

    // The block format property that marks a block going on the line of the block above: the
    // cut before it is no line break.
    static constexpr int kContinuesLine = QTextFormat::UserProperty + 1;

    // Every line end as CR LF; every other code unit as it is in the editor.
    [[nodiscard]] std::u16string Text() const;
    // Replaces everything in one edit, which undo takes back when undo is on. CR LF, a lone CR,
    // a lone LF and U+2029 each end a line.
    void ReplaceText(std::u16string_view text);

signals:
    // A file dropped onto the editor was not inserted; the message says which and why.
    void DropRefused(const QString& message);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Inserts at the cursor, cutting long lines; every line end inserted is a real one.
    static void Insert(QTextCursor& cursor, std::u16string_view text);
    // The cursor's selection replaced by text, as one edit, with the view following the cursor.
    void InsertAtCursor(std::u16string_view text);
    // Sets the marks of the blocks where a change begins and ends from the blocks around it.
    void RepairMarks(int position, int removed, int added);

    bool repairing_ = false;
};

}  // namespace zelkora
