// The window on large text: 1 MiB of Japanese text in the input box, "変換" pressed with the
// 63,000-line table, about 3 MiB of codes on one line in the output box; then the window is
// resized with that output. Then 1 MiB of codes without a space, as a hex dump is copied, is
// pasted over the input (Ctrl+A, Ctrl+V), "変換" spaces and converts it, and a key is typed in
// the middle of the spaced line. QBENCHMARK reports each time from the key or click to the
// window painted and back in its event loop. Every run also checks that the boxes hold exactly
// what was pasted, typed or converted and that the button is enabled again, which is all the
// ctest smoke run (one iteration) asserts: it never judges a time.

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "bench/BenchData.h"
#include "core/engine/CodeToText.h"
#include "core/engine/Spacing.h"
#include "core/engine/TextToCode.h"
#include "core/tables/TableReader.h"
#include "gui/common/QtConversions.h"
#include "gui/textbox/WebText.h"
#include "gui/window/frmMain.h"

namespace zelkora::bench {

class WindowBench : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void clickToResult();
    void resizeWithResult();
    void pasteUnspacedCodes();
    void convertPastedCodes();
    void typeInPastedLine();

private:
    // Delivers what is pending, the repaint included, until the predicate holds (or 10 s pass).
    template <typename Predicate>
    static bool SettleUntil(Predicate done);
    static void Settle();
    void CheckResult();
    QPlainTextEdit* InputEditor() const { return input_->findChild<QPlainTextEdit*>(); }

    QTemporaryDir folder_;
    std::unique_ptr<frmMain> window_;
    WebText* input_ = nullptr;
    WebText* output_ = nullptr;
    QPushButton* convert_ = nullptr;
    std::u16string expected_;
    std::u16string unspacedCodes_;  // 1 MiB of the expected codes without their spaces
    std::u16string pastedConverted_;
};

template <typename Predicate>
bool WindowBench::SettleUntil(Predicate done) {
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > 10000) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    Settle();
    return true;
}

// Layout requests post updates, and updates post the paint, so a few rounds are needed.
void WindowBench::Settle() {
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

void WindowBench::initTestCase() {
    QVERIFY(folder_.isValid());
    const std::filesystem::path program = ToPath(folder_.path());
    const std::filesystem::path settings = program / "settings";
    std::filesystem::create_directories(settings);

    const BenchTable table = BmpTable();
    const std::u16string text = MixedJapaneseText();
    QVERIFY(WriteTables(settings, {table}));
    // The line-break option on, so CR LF meets the table's "\n" entry as in the core benchmarks.
    std::ofstream(program / "setting.ini")
        << "[Zelkora]\r\nFile=" << table.name << "\r\nRet=-1\r\n";

    CodeTable codeTable;
    QVERIFY(ReadTableFile(settings / table.name, codeTable) == ReadStatus::Ok);
    expected_ = fTextToCode(codeTable, text, true);
    QVERIFY2(!LooksLikeCodes(text), "the text must read as text to the automatic mode");

    frmMainServices services;
    services.paths = PortablePaths(program);
    window_ = std::make_unique<frmMain>(services);
    input_ = window_->findChild<WebText*>(QStringLiteral("txt0"));
    output_ = window_->findChild<WebText*>(QStringLiteral("txt1"));
    convert_ = window_->findChild<QPushButton*>(QStringLiteral("cmd0"));
    QVERIFY(input_ != nullptr && output_ != nullptr && convert_ != nullptr);
    QCOMPARE(convert_->text(), QStringLiteral("変換"));

    for (const char16_t c : expected_) {
        if (c != u' ' && unspacedCodes_.size() < kTextBytes) {
            unspacedCodes_.push_back(c);
        }
    }
    pastedConverted_ = fCodeToText(codeTable, fSplitPairs(unspacedCodes_), true);

    window_->resize(800, 600);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    input_->SetText(text);  // as a paste would leave it
    Settle();
    QVERIFY(input_->Text() == text);
}

void WindowBench::CheckResult() {
    const std::u16string shown = output_->Text();
    if (shown != expected_) {
        std::size_t at = 0;
        while (at < shown.size() && at < expected_.size() && shown[at] == expected_[at]) {
            ++at;
        }
        QFAIL(qPrintable(QStringLiteral("the output differs from the conversion at %1 of %2 "
                                        "(shown: %3 code units)")
                             .arg(at)
                             .arg(expected_.size())
                             .arg(shown.size())));
    }
    QVERIFY(convert_->isEnabled());
}

void WindowBench::clickToResult() {
    QBENCHMARK {
        QTest::mouseClick(convert_, Qt::LeftButton);
        Settle();
    }
    CheckResult();
}

void WindowBench::resizeWithResult() {
    if (output_->Text().empty()) {
        QTest::mouseClick(convert_, Qt::LeftButton);
        Settle();
    }
    const QSize narrow = window_->size();
    const QSize wide = narrow + QSize(120, 40);
    QBENCHMARK {
        const QSize target = window_->size() == narrow ? wide : narrow;
        const int outputWidth = output_->width();
        window_->resize(target);
        QVERIFY2(SettleUntil([&] { return output_->width() != outputWidth; }),
                 "the output box was not laid out again");
    }
    CheckResult();
}

void WindowBench::pasteUnspacedCodes() {
    QApplication::clipboard()->setText(QString::fromStdU16String(unspacedCodes_));
    QPlainTextEdit* editor = InputEditor();
    editor->setFocus();
    QBENCHMARK {
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        Settle();
    }
    QVERIFY(input_->Text() == unspacedCodes_);
}

// QtTest runs a benchmark function more than once, so each starts from the pasted codes, which
// the click spaces; only the click is timed.
void WindowBench::convertPastedCodes() {
    input_->SetText(unspacedCodes_);
    Settle();
    QElapsedTimer clickToPainted;
    clickToPainted.start();
    QTest::mouseClick(convert_, Qt::LeftButton);
    Settle();
    QTest::setBenchmarkResult(static_cast<qreal>(clickToPainted.elapsed()),
                              QTest::WalltimeMilliseconds);
    QVERIFY(input_->Text() == fSplitPairs(unspacedCodes_));
    QVERIFY(output_->Text() == pastedConverted_);
    QVERIFY(convert_->isEnabled());
}

// A letter typed at the middle of the spaced codes, with half of the line on either side.
void WindowBench::typeInPastedLine() {
    const std::u16string spaced = fSplitPairs(unspacedCodes_);
    input_->SetText(spaced);
    QPlainTextEdit* editor = InputEditor();
    editor->setFocus();
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(editor->document()->characterCount() / 2);
    editor->setTextCursor(cursor);
    Settle();
    std::size_t typed = 0;
    QBENCHMARK {
        QTest::keyClick(editor, Qt::Key_X);
        Settle();
        ++typed;
    }
    // The codes hold no "x": every one typed is in one run, and the rest is the line as it was.
    std::u16string text = input_->Text();
    const std::size_t run = text.find(u'x');
    QVERIFY(run != std::u16string::npos && run > spaced.size() / 4);
    QVERIFY(text.substr(run, typed) == std::u16string(typed, u'x'));
    QVERIFY(text.erase(run, typed) == spaced);
}

}  // namespace zelkora::bench

QTEST_MAIN(zelkora::bench::WindowBench)
#include "WindowBench.moc"
