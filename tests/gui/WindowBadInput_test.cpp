// Bad input met by the window: a settings folder that is a file, a table spoilt after it was
// listed, a large table, two windows closing at once and a window killed while it saves. The
// window must stay usable, convert with no table but the one named, and write no file but
// setting.ini.
//
// Run with "--instance", "--pick-loop" or "--end" this program is one window of its own, for the
// tests that need two processes or a process to signal or kill.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QtTest>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/TerminationSignals.h"
#include "core/common/mod_ini.h"
#include "gui/common/QtConversions.h"
#include "gui/textbox/WebText.h"
#include "gui/window/frmMain.h"
#include "tests/support/TestFiles.h"

using namespace zelkora;
namespace fs = std::filesystem;

namespace {

constexpr std::u16string_view kSection = u"Zelkora";

using test::ReadBytes;
using test::Snapshot;
using test::WriteBytes;

// A message box's title and text.
using Message = std::pair<QString, QString>;

std::unique_ptr<frmMain> OpenWindow(const QString& folder, std::vector<Message>* messages) {
    frmMainServices services;
    services.paths = PortablePaths(ToPath(folder));
    services.showMessage = [messages](QWidget*, const QString& title, const QString& text) {
        if (messages != nullptr) {
            messages->emplace_back(title, text);
        }
    };
    services.shellExecute = [](const std::u16string&, const std::u16string&) { return true; };
    return std::make_unique<frmMain>(std::move(services));
}

QPushButton* Button(frmMain& window, int index) {
    return window.findChild<QPushButton*>(QStringLiteral("cmd%1").arg(index));
}
WebText* Box(frmMain& window, int index) {
    return window.findChild<WebText*>(QStringLiteral("txt%1").arg(index));
}
QAction* Item(frmMain& window, const QString& name) {
    return window.findChild<QAction*>(name);
}

// Puts text in the input box, presses a button and gives the output box's text.
QString Convert(frmMain& window, std::u16string_view input, int button) {
    Box(window, 0)->SetText(input);
    QTest::mouseClick(Button(window, button), Qt::LeftButton);
    return QString::fromStdU16String(Box(window, 1)->Text());
}

constexpr int kAutomatic = 0;
constexpr int kTextToCodes = 3;
constexpr int kCodesToText = 2;

// Makes a listed table unusable in one of the ways a file can be.
void Spoil(const fs::path& table, const QString& spoil) {
    if (spoil == QStringLiteral("emptied")) {
        fs::resize_file(table, 0);
        return;
    }
    fs::remove(table);
    if (spoil == QStringLiteral("folder")) {
        fs::create_directory(table);
    } else if (spoil == QStringLiteral("fifo")) {
        QCOMPARE(::mkfifo(table.c_str(), 0644), 0);
    } else if (spoil == QStringLiteral("device")) {
        fs::create_symlink("/dev/zero", table);
    } else if (spoil == QStringLiteral("binary")) {
        WriteBytes(table, ReadBytes("/proc/self/exe").substr(0, 64 * 1024));
    } else if (spoil == QStringLiteral("no-text")) {
        WriteBytes(table, "\xEF\xBB\xBF");  // a UTF-8 byte-order mark and nothing else
    }
}

// ---- One window in a process of its own.

// --instance FOLDER ITEM OPTION LEFT: picks settings item ITEM, sets the line-break option (0
// or 1), moves to LEFT pixels, then closes when a byte arrives on stdin.
int RunInstance(const QStringList& args) {
    const auto window = OpenWindow(args.at(2), nullptr);
    window->show();
    window->move(args.at(5).toInt(), 100);
    Item(*window, QStringLiteral("mnuSet") + args.at(3))->trigger();
    QAction* option = Item(*window, QStringLiteral("mnuOpItem1"));
    if (option->isChecked() != (args.at(4) == QStringLiteral("1"))) {
        option->trigger();
    }
    QCoreApplication::processEvents();
    char go = 0;
    // "ready": the test lets both windows close only once both are open.
    if (::write(STDOUT_FILENO, "r", 1) != 1) {
        return 1;
    }
    if (::read(STDIN_FILENO, &go, 1) != 1) {
        return 1;
    }
    window->close();
    return 0;
}

// --pick-loop FOLDER: picks settings items 1 and 2 in turn until it is killed.
int RunPickLoop(const QStringList& args) {
    const auto window = OpenWindow(args.at(2), nullptr);
    if (::write(STDOUT_FILENO, "r", 1) != 1) {
        return 1;
    }
    for (int i = 0;; ++i) {
        Item(*window, QStringLiteral("mnuSet%1").arg(1 + i % 2))->trigger();
    }
}

// --end FOLDER: a window that ends as the program's does: closed unattended on SIGTERM, SIGHUP
// and SIGINT. A byte on stdin ends it otherwise: "c" closes it, "x" chooses File > exit, "q" is
// the quit the window system delivers as the desktop session ends. A message box, which would
// wait for a click, is "box" on stdout here.
int RunUntilEnded(const QStringList& args) {
    frmMainServices services;
    services.paths = PortablePaths(ToPath(args.at(2)));
    services.showMessage = [](QWidget*, const QString&, const QString&) {
        static_cast<void>(::write(STDOUT_FILENO, "box\n", 4));
    };
    frmMain window(std::move(services));
    const TerminationSignals endSignals({SIGTERM, SIGHUP, SIGINT}, [&window] {
        window.CloseUnattended();
        QCoreApplication::quit();
    });
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char how = 0;
        if (::read(STDIN_FILENO, &how, 1) != 1) {
            input.setEnabled(false);
        } else if (how == 'c') {
            window.close();
        } else if (how == 'x') {
            Item(window, QStringLiteral("mnuFileItem99"))->trigger();
        } else if (how == 'q') {
            QEvent quit(QEvent::Quit);
            QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
        }
    });
    window.show();
    if (::write(STDOUT_FILENO, "r\n", 2) != 2) {
        return 1;
    }
    return QCoreApplication::exec();
}

}  // namespace

class WindowBadInputTest : public QObject {
    Q_OBJECT

private slots:
    void settingsFolderIsAFile();
    void spoiltTableAfterUse_data();
    void spoiltTableAfterUse();
    void otherTableUnreadableConvertsNothing_data();
    void otherTableUnreadableConvertsNothing();
    void largeTableKeepsWindowUsable();
    void twoWindowsClosingAtOnce();
    void killedWhilePickingTables();
    void endedWithSettingsUnsaved_data();
    void endedWithSettingsUnsaved();
};

void WindowBadInputTest::settingsFolderIsAFile() {
    QTemporaryDir program;
    const fs::path folder = ToPath(program.path());
    WriteBytes(folder / "settings", "41 A\r\n");
    std::vector<Message> messages;
    {
        const auto window = OpenWindow(program.path(), &messages);
        const QString text = QStringLiteral("設定ファイル読み込みエラーが発生しました\n") +
                             program.path() + QStringLiteral("/settings：フォルダではありません");
        QCOMPARE(messages, (std::vector<Message>{{"Zelkora", text}}));
        QCOMPARE(window->findChild<QMenu*>(QStringLiteral("mnuSettings"))->actions().size(), 1);
        // No table: every character is unknown, and the window goes on.
        QCOMPARE(Convert(*window, u"A", kTextToCodes), QStringLiteral("?? "));
        QCOMPARE(Convert(*window, u"41", kCodesToText), QStringLiteral(" 41 "));
        Item(*window, QStringLiteral("mnuSet0"))->trigger();
        QCOMPARE(messages.size(), std::size_t{2});
        window->close();
    }
    QCOMPARE(ReadBytes(folder / "settings"), std::string("41 A\r\n"));
    const auto left = Snapshot(folder);
    QCOMPARE(left.size(), std::size_t{2});  // settings and setting.ini
    QVERIFY(left.contains("setting.ini"));
}

// The earlier content of the table in use stays only where an editor saving the file explains
// the change: it is empty, or missing and back within 200 ms. Otherwise the user is told, and
// the output box keeps what it showed.
void WindowBadInputTest::spoiltTableAfterUse_data() {
    QTest::addColumn<QString>("spoil");
    QTest::addColumn<QString>("codesOfA");  // what "A" gives afterwards, or the output kept
    QTest::addColumn<QString>("reason");    // the message's reason; empty: no message
    QTest::newRow("emptied") << "emptied"
                             << "41 "
                             << "";
    QTest::newRow("deleted-and-back-at-once") << "deleted-and-back"
                                              << "42 "
                                              << "";
    QTest::newRow("deleted") << "deleted"
                             << "kept"
                             << "ファイルが見つかりません";
    QTest::newRow("replaced-by-folder") << "folder"
                                        << "kept"
                                        << "通常のファイルではありません";
    QTest::newRow("replaced-by-fifo") << "fifo"
                                      << "kept"
                                      << "通常のファイルではありません";
    QTest::newRow("replaced-by-link-to-device") << "device"
                                                << "kept"
                                                << "通常のファイルではありません";
    QTest::newRow("replaced-by-binary") << "binary"
                                        << "kept"
                                        << "テキストファイルではありません";
    QTest::newRow("no-text") << "no-text"
                             << "kept"
                             << "文字として読めません";
}

void WindowBadInputTest::spoiltTableAfterUse() {
    QFETCH(QString, spoil);
    QFETCH(QString, codesOfA);
    QFETCH(QString, reason);
    QTemporaryDir program;
    const fs::path settings = ToPath(program.path()) / "settings";
    fs::create_directory(settings);
    const fs::path table = settings / "a.txt";  // listed first, so the current table
    WriteBytes(table, "41 A\r\n42 B");
    WriteBytes(settings / "b.txt", "43 C");
    std::vector<Message> messages;
    const auto window = OpenWindow(program.path(), &messages);
    QCOMPARE(Convert(*window, u"A", kTextToCodes), QStringLiteral("41 "));

    std::thread editor;
    if (spoil == QStringLiteral("deleted-and-back")) {
        // As an editor that deletes the file, then writes a new one and renames it into place.
        WriteBytes(settings / ".a.txt.new", "42 A");
        fs::remove(table);
        editor = std::thread([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            fs::rename(settings / ".a.txt.new", table);
        });
    } else {
        Spoil(table, spoil);
    }
    const auto before = Snapshot(settings);
    Box(*window, 1)->SetText(u"kept");
    QCOMPARE(Convert(*window, u"A", kTextToCodes), codesOfA);
    QVERIFY(Button(*window, kTextToCodes)->isEnabled());
    if (editor.joinable()) {
        editor.join();
        return;
    }
    Convert(*window, u"41 42 43", kCodesToText);
    QVERIFY(Button(*window, kCodesToText)->isEnabled());
    QCOMPARE(Snapshot(settings), before);
    const Message told{
        "Zelkora", QStringLiteral("設定ファイル「a.txt」を読み込めないため、変換しませんでした。"
                                  "\n理由：") +
                       reason};
    QCOMPARE(messages, reason.isEmpty() ? std::vector<Message>{} : std::vector<Message>(2, told));
}

void WindowBadInputTest::otherTableUnreadableConvertsNothing_data() {
    QTest::addColumn<QString>("spoil");
    QTest::addColumn<bool>("readBefore");  // whether a.txt was read before b.txt was picked
    QTest::addColumn<QString>("reason");
    QTest::newRow("deleted") << "deleted" << true << "ファイルが見つかりません";
    QTest::newRow("deleted-before-any-read") << "deleted" << false << "ファイルが見つかりません";
    QTest::newRow("replaced-by-folder") << "folder" << true << "通常のファイルではありません";
    QTest::newRow("replaced-by-fifo") << "fifo" << true << "通常のファイルではありません";
    QTest::newRow("emptied") << "emptied" << true << "ファイルが空です";
    QTest::newRow("no-text") << "no-text" << true << "文字として読めません";
    QTest::newRow("replaced-by-binary") << "binary" << true << "テキストファイルではありません";
}

// Converting with a.txt's table while the title names b.txt would give a wrong result with no
// sign of it: the user is told instead, and the output box keeps what it showed.
void WindowBadInputTest::otherTableUnreadableConvertsNothing() {
    QFETCH(QString, spoil);
    QFETCH(bool, readBefore);
    QFETCH(QString, reason);
    QTemporaryDir program;
    const fs::path settings = ToPath(program.path()) / "settings";
    fs::create_directory(settings);
    WriteBytes(settings / "a.txt", "41 A");
    WriteBytes(settings / "b.txt", "41 B");
    std::vector<Message> messages;
    const auto window = OpenWindow(program.path(), &messages);
    if (readBefore) {
        QCOMPARE(Convert(*window, u"A", kTextToCodes), QStringLiteral("41 "));
    }
    Spoil(settings / "b.txt", spoil);
    Item(*window, QStringLiteral("mnuSet2"))->trigger();
    for (const int button : {kAutomatic, kCodesToText, kTextToCodes}) {
        Box(*window, 1)->SetText(u"kept");
        QCOMPARE(Convert(*window, u"41", button), QStringLiteral("kept"));
        QVERIFY(Button(*window, button)->isEnabled());
    }
    const Message told{
        "Zelkora", QStringLiteral("設定ファイル「b.txt」を読み込めないため、変換しませんでした。"
                                  "\n理由：") +
                       reason};
    QCOMPARE(messages, std::vector<Message>(3, told));
}

// Lighter than the command line's 200 MiB: 50 MiB of a real table, read at every press.
void WindowBadInputTest::largeTableKeepsWindowUsable() {
    QTemporaryDir program;
    const fs::path settings = ToPath(program.path()) / "settings";
    fs::create_directory(settings);
    const std::string unit = ReadBytes(fs::path(ZELKORA_TEST_DATA) / "tables/jis-common.sjis.txt");
    {
        std::ofstream file(settings / "large.txt", std::ios::binary);
        for (std::size_t written = 0; written < 50u * 1024 * 1024; written += unit.size()) {
            file << unit;
        }
    }
    const auto window = OpenWindow(program.path(), nullptr);
    QCOMPARE(Convert(*window, u"A\u4E9C", kTextToCodes), QStringLiteral("41 9F 88 "));  // A亜
    QVERIFY(Button(*window, kTextToCodes)->isEnabled());
    QCOMPARE(Convert(*window, u"9F88", kCodesToText), QStringLiteral("\u4E9C"));
    QCOMPARE(QString::fromStdU16String(Box(*window, 0)->Text()), QStringLiteral("9F 88"));
    QVERIFY(Button(*window, kCodesToText)->isEnabled());
}

// Each window writes all it keeps in one write, so two windows closing at the same moment
// leave one window's values, never a mix.
void WindowBadInputTest::twoWindowsClosingAtOnce() {
    QTemporaryDir program;
    const fs::path folder = ToPath(program.path());
    fs::create_directory(folder / "settings");
    WriteBytes(folder / "settings" / "a.txt", "41 A");
    WriteBytes(folder / "settings" / "b.txt", "42 B");
    // Settings item, line-break option, left edge in pixels.
    const QStringList instances[] = {{"1", "1", "100"}, {"2", "0", "600"}};
    for (int round = 0; round < 10; ++round) {
        std::vector<std::unique_ptr<QProcess>> windows;
        for (const QStringList& instance : instances) {
            windows.push_back(std::make_unique<QProcess>());
            windows.back()->start(QCoreApplication::applicationFilePath(),
                                  QStringList{"--instance", program.path()} + instance);
            QVERIFY(windows.back()->waitForStarted());
        }
        // Both are open before either closes; then both close together.
        for (const auto& window : windows) {
            QVERIFY(window->waitForReadyRead(60000));
        }
        for (const auto& window : windows) {
            window->write("g", 1);
            window->closeWriteChannel();
        }
        for (const auto& window : windows) {
            QVERIFY(window->waitForFinished(60000));
            QCOMPARE(window->exitCode(), 0);
        }
        const fs::path ini = folder / "setting.ini";
        const std::u16string file = GetIniString(kSection, u"File", ini, u"");
        const std::u16string ret = GetIniString(kSection, u"Ret", ini, u"");
        const std::int32_t left = GetIniInt(kSection, u"X", 0, ini);  // 1500 or 9000 twips
        const bool first = file == u"a.txt" && ret == u"-1" && left < 5000;
        const bool second = file == u"b.txt" && ret == u"0" && left > 5000;
        QVERIFY2(first || second, ReadBytes(ini).c_str());
        QCOMPARE(Snapshot(folder).size(), std::size_t{2});  // settings and setting.ini
    }
}

// A window picking tables, each pick writing "File", is killed at random moments: setting.ini
// always holds one whole pick, and the next save leaves nothing beside it.
void WindowBadInputTest::killedWhilePickingTables() {
    QTemporaryDir program;
    const fs::path folder = ToPath(program.path());
    const fs::path ini = folder / "setting.ini";
    fs::create_directory(folder / "settings");
    WriteBytes(folder / "settings" / "a.txt", "41 A");
    WriteBytes(folder / "settings" / "b.txt", "42 B");
    const std::string picked[] = {"[Zelkora]\r\nFile=a.txt\r\n", "[Zelkora]\r\nFile=b.txt\r\n"};
    WriteBytes(ini, picked[0]);
    std::mt19937 random(11);
    for (int round = 0; round < 15; ++round) {
        QProcess window;
        window.start(QCoreApplication::applicationFilePath(), {"--pick-loop", program.path()});
        QVERIFY(window.waitForReadyRead(60000));
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 100000));
        ::kill(static_cast<pid_t>(window.processId()), SIGKILL);
        QVERIFY(window.waitForFinished(10000));

        const std::string content = ReadBytes(ini);
        QVERIFY2(content == picked[0] || content == picked[1], content.c_str());
        QVERIFY(WriteIniString(kSection, u"File", u"a.txt", ini));
        QCOMPARE(Snapshot(folder).size(), std::size_t{2});  // settings and setting.ini
    }
}

// setting.ini cannot be written (a folder has its name, which stops root as well). Closed from
// the window, the program says so in a message box; ended by the system, by a signal or as the
// session ends, it writes the failure to standard error and ends at once, since no one may be
// there to click the box away.
void WindowBadInputTest::endedWithSettingsUnsaved_data() {
    QTest::addColumn<QString>("how");  // a signal's name, or the byte that RunUntilEnded reads
    QTest::addColumn<bool>("box");
    QTest::newRow("close-button") << "c" << true;
    QTest::newRow("exit-item") << "x" << true;
    QTest::newRow("sigterm") << "SIGTERM" << false;
    QTest::newRow("sighup") << "SIGHUP" << false;
    QTest::newRow("sigint") << "SIGINT" << false;
    QTest::newRow("session-end") << "q" << false;
}

void WindowBadInputTest::endedWithSettingsUnsaved() {
    QFETCH(QString, how);
    QFETCH(bool, box);
    QTemporaryDir program;
    const fs::path folder = ToPath(program.path());
    fs::create_directory(folder / "settings");
    WriteBytes(folder / "settings" / "a.txt", "41 A");
    fs::create_directory(folder / "setting.ini");
    QProcess window;
    window.start(QCoreApplication::applicationFilePath(), {"--end", program.path()});
    QVERIFY(window.waitForStarted());
    QVERIFY(window.waitForReadyRead(60000));
    QCOMPARE(window.readLine(), QByteArray("r\n"));
    const std::map<QString, int> signalNumbers{
        {"SIGTERM", SIGTERM}, {"SIGHUP", SIGHUP}, {"SIGINT", SIGINT}};
    if (signalNumbers.contains(how)) {
        QCOMPARE(::kill(static_cast<pid_t>(window.processId()), signalNumbers.at(how)), 0);
    } else {
        window.write(how.toLatin1());
    }
    // Far more than the second it takes at most: a program waiting for a click never ends.
    QVERIFY(window.waitForFinished(30000));
    QCOMPARE(window.exitStatus(), QProcess::NormalExit);
    QCOMPARE(window.exitCode(), 0);
    QCOMPARE(window.readAllStandardOutput(), box ? QByteArray("box\n") : QByteArray());
    const QByteArray logged = window.readAllStandardError();
    QCOMPARE(logged.contains("zelkora: the settings were not saved: cannot write '" +
                             program.path().toUtf8() + "/setting.ini': "),
             !box);
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 6 && args.at(1) == QStringLiteral("--instance")) {
        return RunInstance(args);
    }
    if (args.size() >= 3 && args.at(1) == QStringLiteral("--pick-loop")) {
        return RunPickLoop(args);
    }
    if (args.size() >= 3 && args.at(1) == QStringLiteral("--end")) {
        return RunUntilEnded(args);
    }
    WindowBadInputTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowBadInput_test.moc"
