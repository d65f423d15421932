#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>
#include <algorithm>
#include <random>
#include <variant>
#include <vector>

#include "gui/common/QtConversions.h"
#include "gui/textbox/DroppedFile.h"
#include "gui/textbox/LongLineEditor.h"
#include "gui/textbox/WebText.h"

using zelkora::DropRefusal;
using zelkora::LongLineEditor;
using zelkora::ToQString;
using zelkora::WebText;
using zelkora::WebTextProperties;

namespace {

QString Text(const WebText& box) {
    return QString::fromStdU16String(box.Text());
}

QPlainTextEdit* Editor(WebText& box) {
    return box.findChild<QPlainTextEdit*>();
}

QString Repeat(std::u16string_view unit, int times) {
    return ToQString(unit).repeated(times);
}

WebTextProperties LockedBox() {
    WebTextProperties stored;
    stored.Locked = true;
    return stored;
}

// One line of codes as 1 MiB of text converts to, only shorter: 18,000 code units.
const QString kCodesLine = Repeat(u"A0 82 ", 3000);

// ---- The input box against a plain string: the same edits made to the real box and to a
// QString, which holds each line break as one "\n", must leave the same text.

bool ContinuesLine(const QTextBlock& block) {
    return block.blockFormat().boolProperty(LongLineEditor::kContinuesLine);
}

// Where an offset of the plain text lies in the editor's document, whose blocks are separated
// by one position, cut or line break. At a cut the offset is both the end of one piece and the
// start of the next: `atPieceEnd` chooses.
int DocumentPosition(const QTextDocument& document, int offset, bool atPieceEnd) {
    int start = 0;  // the offset at which the block begins
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin() && !ContinuesLine(block)) {
            ++start;
        }
        const int end = start + block.length() - 1;
        const bool cutAfter = block.next().isValid() && ContinuesLine(block.next());
        if (offset < end || (offset == end && (atPieceEnd || !cutAfter))) {
            return block.position() + offset - start;
        }
        start = end;
    }
    return document.characterCount() - 1;
}

// The offsets of the plain text at which a piece ends and the next goes on with the line.
std::vector<int> CutOffsets(const QTextDocument& document) {
    std::vector<int> cuts;
    int start = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin()) {
            if (ContinuesLine(block)) {
                cuts.push_back(start);
            } else {
                ++start;
            }
        }
        start += block.length() - 1;
    }
    return cuts;
}

// The plain text and the states it went through, for undo and redo. One edit of the box may
// be undone together with those before it (typing is), so undo must land on one of the states
// before and redo on one after.
class PlainModel {
public:
    const QString& text() const { return history_[at_]; }
    void Edit(const QString& text) {
        if (text == history_[at_]) {
            return;
        }
        history_.resize(at_ + 1);
        history_.push_back(text);
        ++at_;
    }
    // False when the box's text is no state that undo or redo could reach.
    bool Undone(const QString& boxText) { return Moved(boxText, -1); }
    bool Redone(const QString& boxText) { return Moved(boxText, +1); }

private:
    bool Moved(const QString& boxText, int step) {
        for (int at = at_; at >= 0 && at < static_cast<int>(history_.size()); at += step) {
            if (history_[at] == boxText) {
                at_ = at;
                return true;
            }
        }
        return false;
    }

    std::vector<QString> history_{QString()};
    int at_ = 0;
};

// What the box reads back for plain text.
QString AsBoxText(QString plain) {
    return plain.replace(u'\n', QStringLiteral("\r\n"));
}

// Pasted or set text as the box holds it: each CR LF, lone CR, LF and U+2029 is one break.
QString Normalized(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

// Random edits of every kind the box takes, with offsets drawn near the cuts half the time.
class RandomEdits {
public:
    explicit RandomEdits(unsigned seed) : random_(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, std::max(0, n - 1))(random_); }
    bool Chance(int percent) { return Below(100) < percent; }

    // An offset where a cursor can be: never inside a pair of surrogates.
    int Offset(const QString& text, const std::vector<int>& cuts) {
        int offset = Below(static_cast<int>(text.size()) + 1);
        if (!cuts.empty() && Chance(50)) {
            const int near = cuts[static_cast<std::size_t>(Below(static_cast<int>(cuts.size())))];
            offset = std::clamp(near + Below(5) - 2, 0, static_cast<int>(text.size()));
        }
        const bool insidePair = offset > 0 && offset < text.size() &&
                                text[offset - 1].isHighSurrogate() && text[offset].isLowSurrogate();
        return offset - static_cast<int>(insidePair);
    }

    // A character as the keyboard types it: a digit, a letter or a space, kana, or a pair of
    // surrogates.
    QString Typed() {
        switch (Below(4)) {
            case 0:
                return ToQString(u"あ");
            case 1:
                return ToQString(u"\U0001F600");
            default:
                return QString(QChar(u"0123456789ABCDEF "[Below(17)]));
        }
    }

    // Text to paste or set: mostly one long line without spaces, as unspaced codes are, or
    // codes with spaces; line ends of every kind before, inside and after.
    QString Pasted() {
        static const QString lineEnds[] = {QStringLiteral("\r\n"), QStringLiteral("\n"),
                                           QStringLiteral("\r"),
                                           QString(QChar::ParagraphSeparator)};
        QString text;
        const int parts = 1 + Below(3);
        for (int part = 0; part < parts; ++part) {
            if (part > 0 || Chance(20)) {
                text += lineEnds[Below(4)];
            }
            const int length = Chance(60) ? 3000 + Below(7000) : Below(40);
            const bool spaced = Chance(30);
            for (int i = 0; i < length; ++i) {
                text += spaced && i % 3 == 2 ? QChar(u' ') : QChar(u"0123456789ABCDEF"[Below(16)]);
            }
        }
        if (Chance(20)) {
            text += lineEnds[Below(4)];
        }
        return text;
    }

private:
    std::mt19937 random_;
};

}  // namespace

class WebTextTest : public QObject {
    Q_OBJECT

private slots:
    void textRoundTrip_data();
    void textRoundTrip();
    void longLineRoundTrip_data();
    void longLineRoundTrip();
    void longLineShownInParagraphs();
    void longLineCopiedWhole();
    void editsInLongLine_data();
    void editsInLongLine();
    void arrowsStepOverCuts();
    void randomEditsKeepTheText();
    void typedLineBreaksAreCrLf();
    void pasteKeepsCodeUnits();
    void droppedBytes_data();
    void droppedBytes();
    void filesDroppedOntoBox();
    void lockedBoxIsReadOnlyButSettable();
    void disabledBoxTakesNoFocus();
    void keyDownCodes_data();
    void keyDownCodes();
    void ownerSwallowsKeys();
    void keyPressReportsCharacter();
    void defaultsAndFill();
    void colours_data();
    void colours();
};

void WebTextTest::textRoundTrip_data() {
    QTest::addColumn<QString>("set");
    QTest::addColumn<QString>("got");
    const QString loneHigh(QChar(0xD800));
    const QString loneLow(QChar(0xDC80));
    QTest::newRow("ascii") << ToQString(u"Hello") << ToQString(u"Hello");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("kana") << ToQString(u"あいう") << ToQString(u"あいう");
    QTest::newRow("no-break-space") << ToQString(u"a\u00A0b") << ToQString(u"a\u00A0b");
    QTest::newRow("crlf") << ToQString(u"a\r\nb") << ToQString(u"a\r\nb");
    QTest::newRow("trailing-crlf") << ToQString(u"a\r\n") << ToQString(u"a\r\n");
    QTest::newRow("only-crlf") << ToQString(u"\r\n\r\n") << ToQString(u"\r\n\r\n");
    QTest::newRow("tab") << ToQString(u"a\tb") << ToQString(u"a\tb");
    QTest::newRow("line-separator-kept") << ToQString(u"a\u2028b") << ToQString(u"a\u2028b");
    QTest::newRow("surrogate-pair") << ToQString(u"\U0001F600") << ToQString(u"\U0001F600");
    QTest::newRow("lone-high-surrogate") << "a" + loneHigh + "b"
                                         << "a" + loneHigh + "b";
    QTest::newRow("lone-low-surrogate") << loneLow << loneLow;
    QTest::newRow("reversed-pair") << loneLow + loneHigh << loneLow + loneHigh;
    // The box shows one kind of line end; every other break reads back as CR LF.
    QTest::newRow("lone-lf") << ToQString(u"a\nb") << ToQString(u"a\r\nb");
    QTest::newRow("lone-cr") << ToQString(u"a\rb") << ToQString(u"a\r\nb");
    QTest::newRow("cr-then-crlf") << ToQString(u"a\r\r\nb") << ToQString(u"a\r\n\r\nb");
    QTest::newRow("paragraph-separator") << ToQString(u"a\u2029b") << ToQString(u"a\r\nb");
}

void WebTextTest::textRoundTrip() {
    QFETCH(QString, set);
    QFETCH(QString, got);
    WebText box;
    box.SetText(set.toStdU16String());
    QCOMPARE(Text(box), got);
}

// Lines longer than the editor can lay out quickly are shown in paragraphs in a Locked box; the
// text read back must not show where they were cut.
void WebTextTest::longLineRoundTrip_data() {
    QTest::addColumn<QString>("set");
    QTest::addColumn<QString>("got");
    const QString pair = ToQString(u"\U0001F600");
    QTest::newRow("codes") << kCodesLine << kCodesLine;
    QTest::newRow("no-spaces") << QString(10000, u'x') << QString(10000, u'x');
    QTest::newRow("spaces-only") << QString(9000, u' ') << QString(9000, u' ');
    QTest::newRow("pair-across-4096") << QString(4095, u'x') + pair + QString(5000, u'y')
                                      << QString(4095, u'x') + pair + QString(5000, u'y');
    QTest::newRow("between-line-ends")
        << ToQString(u"a\r\n") + kCodesLine + ToQString(u"\rb\n") + kCodesLine + ToQString(u"\r\n")
        << ToQString(u"a\r\n") + kCodesLine + ToQString(u"\r\nb\r\n") + kCodesLine +
               ToQString(u"\r\n");
}

void WebTextTest::longLineRoundTrip() {
    QFETCH(QString, set);
    QFETCH(QString, got);
    WebText box(LockedBox());
    box.SetText(set.toStdU16String());
    QCOMPARE(Text(box), got);
    box.SetText(u"short");  // what was cut before must not linger
    QCOMPARE(Text(box), QStringLiteral("short"));
}

void WebTextTest::longLineShownInParagraphs() {
    WebText box(LockedBox());
    box.SetText(Repeat(u"A0 82 ", 20000).toStdU16String());
    const QTextDocument& document = *Editor(box)->document();
    QVERIFY(document.blockCount() >= 20000 * 6 / 4096);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QVERIFY(block.length() - 1 <= 4096);
    }
}

void WebTextTest::longLineCopiedWhole() {
    WebText box(LockedBox());
    box.SetText(kCodesLine.toStdU16String());
    QTest::keyClick(Editor(box), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(Editor(box), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), kCodesLine);

    QTextCursor cursor = Editor(box)->textCursor();
    cursor.setPosition(10);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    Editor(box)->setTextCursor(cursor);
    QTest::keyClick(Editor(box), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), kCodesLine.mid(10));
}

// In a box the user edits, a long line is in paragraphs too; editing at a cut works on the line:
// a typed break lands where it was typed, Backspace and Delete remove the character beyond the
// cut, and undo and redo bring back each state whole.
void WebTextTest::editsInLongLine_data() {
    QTest::addColumn<int>("block");  // where the cursor is put: a paragraph and an offset in it
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("edited");
    // The first paragraph ends after the space nearest to 4096: 4095 code units.
    const int cut = 4095;
    QTest::newRow("return-inside-piece")
        << 1 << 100 << int(Qt::Key_Return)
        << kCodesLine.left(cut + 100) + ToQString(u"\r\n") + kCodesLine.mid(cut + 100);
    QTest::newRow("return-at-cut")
        << 1 << 0 << int(Qt::Key_Return)
        << kCodesLine.left(cut) + ToQString(u"\r\n") + kCodesLine.mid(cut);
    QTest::newRow("backspace-at-cut")
        << 1 << 0 << int(Qt::Key_Backspace) << kCodesLine.left(cut - 1) + kCodesLine.mid(cut);
    QTest::newRow("delete-at-cut")
        << 0 << cut << int(Qt::Key_Delete) << kCodesLine.left(cut) + kCodesLine.mid(cut + 1);
}

void WebTextTest::editsInLongLine() {
    QFETCH(int, block);
    QFETCH(int, offset);
    QFETCH(int, key);
    QFETCH(QString, edited);
    WebText box;
    box.SetText(kCodesLine.toStdU16String());
    QCOMPARE(Text(box), kCodesLine);
    QVERIFY(Editor(box)->document()->blockCount() > 1);
    QTextCursor cursor = Editor(box)->textCursor();
    cursor.setPosition(Editor(box)->document()->findBlockByNumber(block).position() + offset);
    Editor(box)->setTextCursor(cursor);
    QTest::keyClick(Editor(box), static_cast<Qt::Key>(key));
    QCOMPARE(Text(box), edited);
    QTest::keyClick(Editor(box), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Text(box), kCodesLine);
    QTest::keyClick(Editor(box), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(Text(box), edited);
    QTest::keyClick(Editor(box), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(Editor(box), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(Text(box), edited);
}

// A cut is no character: Right at the end of a paragraph and Left at the start of the next each
// move by one character of the line.
void WebTextTest::arrowsStepOverCuts() {
    const int cut = 4095;  // the first paragraph's length
    WebText box;
    box.SetText(kCodesLine.toStdU16String());
    const int nextStart = Editor(box)->document()->findBlockByNumber(1).position();
    const auto typeAfter = [&](int position, Qt::Key key) {
        box.SetText(kCodesLine.toStdU16String());
        QTextCursor cursor = Editor(box)->textCursor();
        cursor.setPosition(position);
        Editor(box)->setTextCursor(cursor);
        QTest::keyClick(Editor(box), key);
        QTest::keyClicks(Editor(box), "X");
        return Text(box);
    };
    QCOMPARE(typeAfter(nextStart - 1, Qt::Key_Right),
             kCodesLine.left(cut + 1) + "X" + kCodesLine.mid(cut + 1));
    QCOMPARE(typeAfter(nextStart, Qt::Key_Left),
             kCodesLine.left(cut - 1) + "X" + kCodesLine.mid(cut - 1));
}

// 10,000 random edits of the input box: typing, line breaks, pasting long unspaced lines,
// Backspace and Delete at and across cuts, selections across cuts replaced, cut and copied,
// the whole text set, undo and redo. After each, Text must be what a plain QString holds after
// the same edits. The seed comes from ZELKORA_SEED when set, so that a failure, which names the
// seed and the edit, can be run again.
void WebTextTest::randomEditsKeepTheText() {
    const unsigned seed = qEnvironmentVariableIsSet("ZELKORA_SEED")
                              ? qEnvironmentVariable("ZELKORA_SEED").toUInt()
                              : 20240619U;
    constexpr int kEdits = 10000;
    constexpr int kLargeText = 60000;  // above it, a large selection is deleted
    constexpr int kDelete = 70;        // the kind of edit that deletes
    RandomEdits edits(seed);
    PlainModel model;
    WebText box;
    QPlainTextEdit& editor = *Editor(box);
    const QTextDocument& document = *editor.document();
    QClipboard& clipboard = *QApplication::clipboard();

    for (int number = 1; number <= kEdits; ++number) {
        const QString before = model.text();
        const int size = static_cast<int>(before.size());
        const std::vector<int> cuts = CutOffsets(document);
        // A cursor, or a selection from anchor to position, put where the plain text says; at a
        // cut, on either side of it.
        int anchor = edits.Offset(before, cuts);
        int position = edits.Chance(30) ? edits.Offset(before, cuts) : anchor;
        const bool shrink = size > kLargeText;
        if (shrink) {
            anchor = edits.Below(size / 4);
            position = size - edits.Below(size / 4);
        }
        QTextCursor cursor(editor.document());
        cursor.setPosition(DocumentPosition(document, anchor, edits.Chance(50)));
        cursor.setPosition(DocumentPosition(document, position, edits.Chance(50)),
                           QTextCursor::KeepAnchor);
        editor.setTextCursor(cursor);
        const int from = std::min(anchor, position);
        const int to = std::max(anchor, position);
        const QString selected = before.mid(from, to - from);
        const QString unselected = before.left(from) + before.mid(to);

        QString edit = QStringLiteral("#%1 (seed %2): selection %3-%4 of %5, cuts at")
                           .arg(number)
                           .arg(seed)
                           .arg(anchor)
                           .arg(position)
                           .arg(size);
        for (const int cut : cuts) {
            edit += QStringLiteral(" %1").arg(cut);
        }
        edit += QStringLiteral("; ");
        const auto clipboardHolds = [&](const QString& expected) {
            return clipboard.text() == expected || (from == to && clipboard.text().isEmpty());
        };
        const int kind = shrink ? kDelete : edits.Below(100);
        if (kind < 30) {
            const QString typed = edits.Typed();
            edit += QStringLiteral("type U+%1").arg(typed.front().unicode(), 4, 16, QChar(u'0'));
            QTest::sendKeyEvent(QTest::Click, &editor, Qt::Key_unknown, typed, Qt::NoModifier);
            model.Edit(before.left(from) + typed + before.mid(to));
        } else if (kind < 38) {
            const bool shift = edits.Chance(30);
            edit += shift ? QStringLiteral("Shift+Return") : QStringLiteral("Return");
            QTest::keyClick(&editor, Qt::Key_Return, shift ? Qt::ShiftModifier : Qt::NoModifier);
            model.Edit(before.left(from) + u'\n' + before.mid(to));
        } else if (kind < 48) {
            const QString pasted = edits.Pasted();
            edit += QStringLiteral("paste %1 code units").arg(pasted.size());
            clipboard.setText(pasted);
            QTest::keyClick(&editor, Qt::Key_V, Qt::ControlModifier);
            model.Edit(before.left(from) + Normalized(pasted) + before.mid(to));
        } else if (kind < 60) {
            edit += QStringLiteral("Backspace");
            QTest::keyClick(&editor, Qt::Key_Backspace);
            // A pair of surrogates goes as one character.
            const int length = from == to && from >= 2 && before[from - 1].isLowSurrogate() &&
                                       before[from - 2].isHighSurrogate()
                                   ? 2
                                   : 1;
            model.Edit(from < to   ? unselected
                       : from == 0 ? before
                                   : before.left(from - length) + before.mid(from));
        } else if (kind < 75) {
            edit += QStringLiteral("Delete");
            QTest::keyClick(&editor, Qt::Key_Delete);
            const int length = from < to ? to - from
                               : from + 1 < size && before[from].isHighSurrogate() &&
                                       before[from + 1].isLowSurrogate()
                                   ? 2
                                   : 1;
            model.Edit(before.left(from) + before.mid(from + length));
        } else if (kind < 80) {
            edit += QStringLiteral("Ctrl+X");
            clipboard.clear();
            QTest::keyClick(&editor, Qt::Key_X, Qt::ControlModifier);
            QVERIFY2(clipboardHolds(selected), qPrintable(edit + QStringLiteral(": clipboard")));
            model.Edit(unselected);
        } else if (kind < 84) {
            edit += QStringLiteral("Ctrl+C");
            clipboard.clear();
            QTest::keyClick(&editor, Qt::Key_C, Qt::ControlModifier);
            QVERIFY2(clipboardHolds(selected), qPrintable(edit + QStringLiteral(": clipboard")));
        } else if (kind < 86) {
            const QString set = edits.Pasted();
            edit += QStringLiteral("SetText of %1 code units").arg(set.size());
            box.SetText(set.toStdU16String());
            model.Edit(Normalized(set));
        } else if (kind < 94) {
            edit += QStringLiteral("Ctrl+Z");
            QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
            QVERIFY2(model.Undone(Normalized(Text(box))),
                     qPrintable(edit + QStringLiteral(": a text the box never had")));
        } else {
            const bool y = edits.Chance(50);
            edit += y ? QStringLiteral("Ctrl+Y") : QStringLiteral("Ctrl+Shift+Z");
            QTest::keyClick(&editor, y ? Qt::Key_Y : Qt::Key_Z,
                            y ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
            QVERIFY2(model.Redone(Normalized(Text(box))),
                     qPrintable(edit + QStringLiteral(": a text the box never had")));
        }
        const QString got = Text(box);
        const QString expected = AsBoxText(model.text());
        if (got != expected) {
            const auto at = static_cast<int>(
                std::mismatch(got.begin(), got.end(), expected.begin(), expected.end()).first -
                got.begin());
            QFAIL(qPrintable(edit + QStringLiteral(": Text differs from offset %1 (%2 code units, "
                                                   "expected %3): \"%4\" where \"%5\"")
                                        .arg(at)
                                        .arg(got.size())
                                        .arg(expected.size())
                                        .arg(got.mid(std::max(0, at - 8), 24),
                                             expected.mid(std::max(0, at - 8), 24))));
        }
    }
}

void WebTextTest::typedLineBreaksAreCrLf() {
    WebText box;
    QTest::keyClicks(Editor(box), "ab");
    QTest::keyClick(Editor(box), Qt::Key_Return);
    QTest::keyClick(Editor(box), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(Editor(box), "c");
    QCOMPARE(Text(box), ToQString(u"ab\r\n\r\nc"));
}

void WebTextTest::pasteKeepsCodeUnits() {
    WebText box;
    const QString pasted = ToQString(u"x\u00A0y\u2028z") + QChar(0xDC80);
    QApplication::clipboard()->setText(pasted);
    QTest::keyClick(Editor(box), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Text(box), pasted);
}

// A dropped file's text is decoded as a table file's is; a binary file is refused.
void WebTextTest::droppedBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");  // null: refused as not text
    QTest::newRow("shift-jis") << QByteArray("\x82\xA0\x82\xA2") << ToQString(u"あい");
    QTest::newRow("utf16le-with-mark")
        << QByteArray("\xFF\xFE\x42\x30\x44\x30") << ToQString(u"あい");
    QTest::newRow("utf8-with-mark") << QByteArray("\xEF\xBB\xBF\xE6\x97\xA5") << ToQString(u"日");
    QTest::newRow("tab-and-line-ends")
        << QByteArray("a\tb\r\nc\n\f") << ToQString(u"a\tb\r\nc\n\f");
    QTest::newRow("empty") << QByteArray() << ToQString(u"");
    QTest::newRow("nul-byte") << QByteArray("ab\0cd", 5) << QString();
    QTest::newRow("elf-header") << QByteArray(
                                       "\x7F"
                                       "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0",
                                       16)
                                << QString();
    QTest::newRow("png-header") << QByteArray("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16) << QString();
}

void WebTextTest::droppedBytes() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const zelkora::DroppedText dropped =
        zelkora::TextOfDroppedBytes({reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                     static_cast<std::size_t>(bytes.size())});
    if (text.isNull()) {
        QVERIFY(!dropped.has_value());
        QVERIFY(dropped.error() == DropRefusal::NotText);
    } else {
        QVERIFY(dropped.has_value());
        QCOMPARE(ToQString(*dropped), text);
    }
}

// Files dropped together: those with text go in at the drop, in order; each of the others is
// named in a message saying why it is left out.
void WebTextTest::filesDroppedOntoBox() {
    QTemporaryDir folder;
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write("sjis.txt", "\x82\xA0\x82\xA2\r\n");  // あい
    write("tool.bin", QByteArray("\x7F"
                                 "ELF\x02\x01\x01\0\0",
                                 9));
    write("utf16.txt", "\xFF\xFE\x46\x30");  // う
    write("large.txt", "");
    QVERIFY(QFile::resize(folder.filePath("large.txt"),
                          static_cast<qint64>(zelkora::kDropLimit) + 1));  // sparse
    QVERIFY(QDir(folder.path()).mkdir("folder.txt"));

    WebText box;
    box.SetText(u"[]");
    box.resize(300, 100);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QStringList refusals;
    connect(&box, &WebText::DropRefused, [&](const QString& message) { refusals << message; });
    QMimeData mime;
    QList<QUrl> urls;
    for (const char* name : {"sjis.txt", "tool.bin", "large.txt", "folder.txt", "utf16.txt"}) {
        urls << QUrl::fromLocalFile(folder.filePath(name));
    }
    mime.setUrls(urls);
    // Dropped just after the "[" (at the left edge of the first line the drop lands before it).
    QTextCursor at = Editor(box)->textCursor();
    at.setPosition(1);
    const QPoint point = Editor(box)->cursorRect(at).center() + QPoint(1, 0);
    QWidget* viewport = Editor(box)->viewport();
    QDragEnterEvent enter(point, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(point, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);

    QCOMPARE(Text(box), ToQString(u"[あい\r\nう]"));
    QCOMPARE(
        refusals,
        (QStringList{ToQString(u"「tool.bin」はテキストファイルではないため、挿入できません。"),
                     ToQString(u"「large.txt」は 64 MiB より大きいため、挿入できません。"),
                     ToQString(u"「folder.txt」を読み込めませんでした。")}));
}

void WebTextTest::lockedBoxIsReadOnlyButSettable() {
    WebTextProperties stored;
    stored.Locked = true;
    WebText box(stored);
    QTest::keyClicks(Editor(box), "abc");
    QCOMPARE(Text(box), QString());
    box.SetText(u"xyz");
    QTest::keyClicks(Editor(box), "abc");
    QCOMPARE(Text(box), QStringLiteral("xyz"));
    QApplication::clipboard()->clear();
    QTest::keyClick(Editor(box), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(Editor(box), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("xyz"));
}

void WebTextTest::disabledBoxTakesNoFocus() {
    QWidget window;
    auto* other = new QPlainTextEdit(&window);
    auto* box = new WebText({}, &window);
    box->move(0, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    box->SetEnabled(false);
    box->sSetFocus();
    QVERIFY(!Editor(*box)->isEnabled());
    QVERIFY(other->hasFocus());
    box->SetEnabled(true);
    box->sSetFocus();
    QVERIFY(Editor(*box)->hasFocus());
}

void WebTextTest::keyDownCodes_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<int>("shift");
    QTest::newRow("letter") << int(Qt::Key_A) << Qt::KeyboardModifiers() << 65 << 0;
    QTest::newRow("shifted-letter")
        << int(Qt::Key_A) << Qt::KeyboardModifiers(Qt::ShiftModifier) << 65 << 1;
    QTest::newRow("ctrl-space") << int(Qt::Key_Space) << Qt::KeyboardModifiers(Qt::ControlModifier)
                                << 32 << 2;
    QTest::newRow("ctrl-shift-space")
        << int(Qt::Key_Space) << (Qt::ControlModifier | Qt::ShiftModifier) << 32 << 3;
    QTest::newRow("ctrl-alt-f5") << int(Qt::Key_F5) << (Qt::ControlModifier | Qt::AltModifier)
                                 << 116 << 6;
    QTest::newRow("digit") << int(Qt::Key_5) << Qt::KeyboardModifiers() << 53 << 0;
    QTest::newRow("keypad-digit") << int(Qt::Key_5) << Qt::KeyboardModifiers(Qt::KeypadModifier)
                                  << 101 << 0;
    QTest::newRow("exclamation-is-key-1")
        << int(Qt::Key_Exclam) << Qt::KeyboardModifiers(Qt::ShiftModifier) << 49 << 1;
    QTest::newRow("semicolon") << int(Qt::Key_Semicolon) << Qt::KeyboardModifiers() << 186 << 0;
    QTest::newRow("return") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << 13 << 0;
    QTest::newRow("escape") << int(Qt::Key_Escape) << Qt::KeyboardModifiers() << 27 << 0;
    QTest::newRow("left-arrow") << int(Qt::Key_Left) << Qt::KeyboardModifiers() << 37 << 0;
}

void WebTextTest::keyDownCodes() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, keyCode);
    QFETCH(int, shift);
    WebText box;
    std::vector<std::pair<int, int>> downs;
    std::vector<std::pair<int, int>> ups;
    connect(&box, &WebText::KeyDown, [&](std::int16_t& KeyCode, std::int16_t& Shift) {
        downs.emplace_back(KeyCode, Shift);
    });
    connect(&box, &WebText::KeyUp,
            [&](std::int16_t& KeyCode, std::int16_t& Shift) { ups.emplace_back(KeyCode, Shift); });
    QTest::keyClick(Editor(box), static_cast<Qt::Key>(key), modifiers);
    // Modifier keys report themselves first (Shift 16, Ctrl 17, Alt 18), as on Windows; the
    // key itself goes down last and comes up first.
    QVERIFY(!downs.empty() && !ups.empty());
    const std::pair<int, int> expected{keyCode, shift};
    QCOMPARE(downs.back(), expected);
    QCOMPARE(ups.front(), expected);
}

void WebTextTest::ownerSwallowsKeys() {
    WebText box;
    connect(&box, &WebText::KeyDown, [](std::int16_t& KeyCode, std::int16_t&) {
        if (KeyCode == 'X') {
            KeyCode = 0;
        }
    });
    connect(&box, &WebText::KeyPress, [](std::int16_t& KeyAscii) {
        if (KeyAscii == 'y') {
            KeyAscii = 0;
        }
    });
    QTest::keyClicks(Editor(box), "axbyc");
    QCOMPARE(Text(box), QStringLiteral("abc"));
}

void WebTextTest::keyPressReportsCharacter() {
    WebText box;
    std::vector<int> presses;
    connect(&box, &WebText::KeyPress, [&](std::int16_t& KeyAscii) { presses.push_back(KeyAscii); });
    QTest::keyClicks(Editor(box), "aA");
    QTest::keyClick(Editor(box), Qt::Key_Return);
    QTest::sendKeyEvent(QTest::Click, Editor(box), Qt::Key_unknown, ToQString(u"あ"),
                        Qt::NoModifier);
    QCOMPARE(presses, (std::vector<int>{'a', 'A', 13, static_cast<std::int16_t>(u'あ')}));
    QCOMPARE(Text(box), ToQString(u"aA\r\nあ"));
}

void WebTextTest::defaultsAndFill() {
    WebText box;
    QCOMPARE(box.BackColor(), QStringLiteral("#FFFFFF"));
    QCOMPARE(box.ForeColor(), QString());
    QVERIFY(box.Enabled());
    QVERIFY(!box.Locked());
    QCOMPARE(box.FontSize(), 12.0F);
    QCOMPARE(Editor(box)->font().pixelSize(), 12);
    QCOMPARE(Editor(box)->font().family(), QStringLiteral("Arial"));
    box.SetFontSize(20);
    QCOMPARE(Editor(box)->font().pixelSize(), 20);

    box.resize(300, 100);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    // The frame is drawn inside the control, which the editor fills.
    QCOMPARE(Editor(box)->geometry(), box.rect());
    QCOMPARE(Editor(box)->frameShape(), QFrame::StyledPanel);
    QCOMPARE(Editor(box)->frameShadow(), QFrame::Sunken);
}

void WebTextTest::colours_data() {
    QTest::addColumn<QString>("back");
    QTest::addColumn<QString>("fore");
    QTest::addColumn<QColor>("base");
    QTest::addColumn<QColor>("text");
    // An empty or unreadable text colour is black or white, whichever the box's colour shows,
    // never the desktop's (light grey under a dark theme).
    QTest::newRow("defaults") << QStringLiteral("#FFFFFF") << QString() << QColor(Qt::white)
                              << QColor(Qt::black);
    QTest::newRow("css-hex") << QStringLiteral("#102030") << QStringLiteral("#A0B0C0")
                             << QColor(0x10, 0x20, 0x30) << QColor(0xA0, 0xB0, 0xC0);
    QTest::newRow("css-names") << QStringLiteral("black") << QStringLiteral("red")
                               << QColor(Qt::black) << QColor(Qt::red);
    QTest::newRow("unreadable-left-default")
        << QStringLiteral("#FFFFFF") << QStringLiteral("nonsense") << QColor(Qt::white)
        << QColor(Qt::black);
    QTest::newRow("dark-back-empty-fore")
        << QStringLiteral("#202020") << QString() << QColor(0x20, 0x20, 0x20) << QColor(Qt::white);
}

void WebTextTest::colours() {
    QFETCH(QString, back);
    QFETCH(QString, fore);
    QFETCH(QColor, base);
    QFETCH(QColor, text);
    // A desktop with a dark theme.
    const QPalette desktop = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(desktop); });
    QPalette dark = desktop;
    dark.setColor(QPalette::Base, QColor(0x2D, 0x2D, 0x2D));
    dark.setColor(QPalette::Text, QColor(0xEE, 0xEE, 0xEE));
    QApplication::setPalette(dark);

    WebText box;
    box.SetForeColor(QStringLiteral("blue"));  // an earlier colour must not linger
    box.SetBackColor(back);
    box.SetForeColor(fore);
    QCOMPARE(box.BackColor(), back);
    QCOMPARE(box.ForeColor(), fore);
    QCOMPARE(Editor(box)->palette().color(QPalette::Base), base);
    QCOMPARE(Editor(box)->palette().color(QPalette::Text), text);
}

QTEST_MAIN(WebTextTest)
#include "WebText_test.moc"
