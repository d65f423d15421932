#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <memory>
#include <vector>

#include "core/common/mod_ini.h"
#include "core/menus/MenusLogic.h"
#include "gui/common/QtConversions.h"
#include "gui/menus/MainMenus.h"
#include "gui/textbox/WebText.h"
#include "gui/window/WindowPlacement.h"
#include "gui/window/frmMain.h"
#include "tests/support/TestFiles.h"

using namespace zelkora;

namespace {

// Tables are written as UTF-16LE with a byte-order mark, which no other encoding is taken for.
QByteArray Table(std::u16string_view text) {
    QByteArray bytes("\xFF\xFE", 2);
    for (const char16_t unit : text) {
        bytes.append(static_cast<char>(unit & 0xFF)).append(static_cast<char>(unit >> 8));
    }
    return bytes;
}

const QByteArray kTable = Table(u"3042 あ\r\n41 A\r\n42 B\r\n48 H\r\n65 e\r\n6C l\r\n6F o\r\n");

struct Launch {
    std::u16string file, directory;
};

// A folder standing in for the program's own, with what the window showed and launched.
class Program {
public:
    Program() { QDir(dir_.path()).mkdir(QStringLiteral("settings")); }

    QString Folder() const { return dir_.path(); }
    std::filesystem::path Path() const { return ToPath(dir_.path()); }
    std::filesystem::path Ini() const { return Path() / "setting.ini"; }
    // Through the raw bytes of the name: Qt's own file names would turn bytes that are not
    // UTF-8 into U+FFFD.
    void WriteFile(const std::string& relativePath, const QByteArray& bytes) const {
        QVERIFY(test::WriteBytes(Path() / relativePath,
                                 std::string_view(bytes.constData(), bytes.size())));
    }
    void WriteTable(const std::string& name, const QByteArray& bytes = kTable) const {
        WriteFile("settings/" + name, bytes);
    }
    void SetIni(std::u16string_view key, std::u16string_view value) const {
        QVERIFY(WriteIniString(u"Zelkora", key, value, Ini()));
    }
    QString IniValue(std::u16string_view key) const {
        return ToQString(GetIniString(u"Zelkora", key, Ini(), u"<none>"));
    }

    std::unique_ptr<frmMain> Open() {
        frmMainServices services;
        services.paths = PortablePaths(Path());
        services.showMessage = [this](QWidget*, const QString& title, const QString& text) {
            messages.emplace_back(title, text);
        };
        services.shellExecute = [this](const std::u16string& file,
                                       const std::u16string& directory) {
            launches.push_back({file, directory});
            return true;
        };
        return std::make_unique<frmMain>(std::move(services));
    }

    std::vector<std::pair<QString, QString>> messages;
    std::vector<Launch> launches;

private:
    QTemporaryDir dir_;
};

WebText* Box(frmMain& window, int index) {
    return window.findChild<WebText*>(QStringLiteral("txt%1").arg(index));
}
QPlainTextEdit* Editor(frmMain& window, int index) {
    return Box(window, index)->findChild<QPlainTextEdit*>();
}
QString Text(frmMain& window, int index) {
    return QString::fromStdU16String(Box(window, index)->Text());
}
QPushButton* Button(frmMain& window, int index) {
    return window.findChild<QPushButton*>(QStringLiteral("cmd%1").arg(index));
}
QAction* Item(frmMain& window, const QString& name) {
    return window.findChild<QAction*>(name);
}
QMenu* Menu(frmMain& window, const QString& name) {
    return window.findChild<QMenu*>(name);
}

void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

QStringList Captions(const QMenu& menu) {
    QStringList captions;
    for (const QAction* action : menu.actions()) {
        captions << action->text();
    }
    return captions;
}

}  // namespace

class frmMainTest : public QObject {
    Q_OBJECT

private slots:
    void buttons_data();
    void buttons();
    void ctrlSpace_data();
    void ctrlSpace();
    void onlyPressedButtonDisabled_data();
    void onlyPressedButtonDisabled();
    void tableReadAtEveryConversion();
    void clearEmptiesBothBoxes();
    void tableMenuListsPicksAndRemembers();
    void reloadListsAnewAndSelectsSavedName();
    void missingSettingsFolderShowsMessage();
    void emptySettingsFolderIsQuiet();
    void rawFileNameOpensTheFile();
    void firstStartSavesEveryKey();
    void lineBreakOptionRestored_data();
    void lineBreakOptionRestored();
    void lineBreakOptionTogglesAndIsSaved();
    void placementRoundTrip();
    void partlyOffScreenStays();
    void placementValuesNotTaken_data();
    void placementValuesNotTaken();
    void maximisedSavesOnlyState();
    void menusInOrder();
    void readMeItemFollowsFile();
    void homePageAndVersion();
    void failedLaunchOnStandardError_data();
    void failedLaunchOnStandardError();
    void otherIndexesDoNothing();
    void exitItemClosesAndSaves();
    void unsavedSettingsSaidOnce();
    void layoutFollowsClientArea();
    void startFocusAndTabOrder();
};

void frmMainTest::buttons_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("input");   // the input box afterwards
    QTest::addColumn<QString>("output");  // null: not checked
    QTest::addColumn<QString>("undone");  // the input box after Ctrl+Z; null: not checked

    QTest::newRow("auto-spaced-codes") << 0 << "41 42"
                                       << "41 42"
                                       << "AB" << QString();
    // The spacing written into the input box is an edit of its own, which Ctrl+Z takes back.
    QTest::newRow("auto-unspaced-codes") << 0 << "4142"
                                         << "41 42"
                                         << "AB"
                                         << "4142";
    QTest::newRow("auto-text") << 0 << "Hello"
                               << "Hello"
                               << "48 65 6C 6C 6F " << QString();
    QTest::newRow("auto-leading-spaces") << 0 << "  He"
                                         << "  He"
                                         << "?? ?? 48 65 " << QString();
    QTest::newRow("auto-a-to-f-read-as-codes") << 0 << "AB"
                                               << "AB"
                                               << " AB " << QString();
    QTest::newRow("auto-apple-spaced") << 0 << "apple"
                                       << "a pp le" << QString() << QString();
    QTest::newRow("auto-empty") << 0 << ""
                                << ""
                                << "" << QString();
    QTest::newRow("codes-spaced-two-byte") << 2 << "4230"
                                           << "42 30" << ToQString(u"あ") << QString();
    QTest::newRow("codes-odd-length") << 2 << "123"
                                      << "1 23" << QString() << "123";
    QTest::newRow("codes-two-chars-not-spaced") << 2 << "41"
                                                << "41"
                                                << "A" << QString();
    QTest::newRow("codes-with-space-not-spaced") << 2 << "  4142"
                                                 << "  4142" << QString() << QString();
    QTest::newRow("text-never-spaced") << 3 << "4142"
                                       << "4142"
                                       << "?? ?? ?? ?? " << QString();
    QTest::newRow("text-kana") << 3 << ToQString(u"あA") << ToQString(u"あA") << "42 30 41 "
                               << QString();
    // What クリア cleared comes back with Ctrl+Z.
    QTest::newRow("clear-undone") << 1 << ToQString(u"あA") << ""
                                  << "" << ToQString(u"あA");
}

void frmMainTest::buttons() {
    QFETCH(int, button);
    QFETCH(QString, typed);
    QFETCH(QString, input);
    QFETCH(QString, output);
    QFETCH(QString, undone);
    Program program;
    program.WriteTable("table.txt");
    const auto window = program.Open();
    Type(Editor(*window, 0), typed);
    QTest::mouseClick(Button(*window, button), Qt::LeftButton);
    QCOMPARE(Text(*window, 0), input);
    if (!output.isNull()) {
        QCOMPARE(Text(*window, 1), output);
    }
    if (!undone.isNull()) {
        QTest::keyClick(Editor(*window, 0), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Text(*window, 0), undone);
        QTest::keyClick(Editor(*window, 0), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(Text(*window, 0), input);
    }
}

void frmMainTest::ctrlSpace_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("converts");
    QTest::newRow("ctrl-space-input") << 0 << Qt::KeyboardModifiers(Qt::ControlModifier) << true;
    QTest::newRow("ctrl-shift-space-input")
        << 0 << (Qt::ControlModifier | Qt::ShiftModifier) << false;
    QTest::newRow("space-input") << 0 << Qt::KeyboardModifiers() << false;
    QTest::newRow("ctrl-space-output") << 1 << Qt::KeyboardModifiers(Qt::ControlModifier) << false;
}

void frmMainTest::ctrlSpace() {
    QFETCH(int, box);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, converts);
    Program program;
    program.WriteTable("table.txt");
    const auto window = program.Open();
    Type(Editor(*window, 0), QStringLiteral("4142"));
    QTest::keyClick(Editor(*window, box), Qt::Key_Space, modifiers);
    if (converts) {
        // Converted, and the space itself never reached the box.
        QCOMPARE(Text(*window, 0), QStringLiteral("41 42"));
        QCOMPARE(Text(*window, 1), QStringLiteral("AB"));
    } else {
        QCOMPARE(Text(*window, 1), QString());
    }
}

void frmMainTest::onlyPressedButtonDisabled_data() {
    QTest::addColumn<int>("button");
    for (int i = 0; i < 4; ++i) {
        QTest::newRow(qPrintable(QStringLiteral("cmd%1").arg(i))) << i;
    }
}

void frmMainTest::onlyPressedButtonDisabled() {
    QFETCH(int, button);
    Program program;  // no table: every read fails
    const auto window = program.Open();
    Box(*window, 1)->SetText(u"old");
    Type(Editor(*window, 0), QStringLiteral("Hi"));
    std::vector<std::vector<bool>> seen;  // the buttons' states whenever the output changes
    connect(Editor(*window, 1), &QPlainTextEdit::textChanged, [&] {
        std::vector<bool> enabled;
        for (int i = 0; i < 4; ++i) {
            enabled.push_back(Button(*window, i)->isEnabled());
        }
        seen.push_back(enabled);
    });
    QTest::mouseClick(Button(*window, button), Qt::LeftButton);
    QVERIFY(!seen.empty());
    std::vector<bool> expected(4, true);
    expected[static_cast<std::size_t>(button)] = false;
    QCOMPARE(seen.front(), expected);
    for (int i = 0; i < 4; ++i) {
        QVERIFY(Button(*window, i)->isEnabled());
    }
}

void frmMainTest::tableReadAtEveryConversion() {
    Program program;
    program.WriteTable("table.txt", Table(u"41 A\r\n"));
    const auto window = program.Open();
    Type(Editor(*window, 0), QStringLiteral("41"));
    QTest::mouseClick(Button(*window, 2), Qt::LeftButton);
    QCOMPARE(Text(*window, 1), QStringLiteral("A"));

    program.WriteTable("table.txt", Table(u"41 Z\r\n"));
    QTest::mouseClick(Button(*window, 2), Qt::LeftButton);
    QCOMPARE(Text(*window, 1), QStringLiteral("Z"));

    // Emptied, as an editor saving it may leave it for a moment: the table read before stays.
    QVERIFY(QFile::resize(program.Folder() + "/settings/table.txt", 0));
    QTest::mouseClick(Button(*window, 3), Qt::LeftButton);
    QCOMPARE(Text(*window, 1), QStringLiteral("?? ?? "));
    Box(*window, 0)->SetText(u"Z");
    QTest::mouseClick(Button(*window, 3), Qt::LeftButton);
    QCOMPARE(Text(*window, 1), QStringLiteral("41 "));
    QVERIFY(Button(*window, 3)->isEnabled());
}

void frmMainTest::clearEmptiesBothBoxes() {
    Program program;
    program.WriteTable("table.txt");
    const auto window = program.Open();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    Type(Editor(*window, 0), QStringLiteral("AB"));
    QTest::mouseClick(Button(*window, 3), Qt::LeftButton);
    QVERIFY(!Text(*window, 1).isEmpty());
    Button(*window, 1)->setFocus();
    QTest::mouseClick(Button(*window, 1), Qt::LeftButton);
    QCOMPARE(Text(*window, 0), QString());
    QCOMPARE(Text(*window, 1), QString());
    QVERIFY(Editor(*window, 0)->hasFocus());
}

void frmMainTest::tableMenuListsPicksAndRemembers() {
    Program program;
    program.WriteTable("b.txt");
    program.WriteTable("A.txt");
    program.WriteTable("c.dat");
    QVERIFY(QDir(program.Folder() + "/settings").mkdir("sub"));
    program.SetIni(u"File", u"b.txt");
    const auto window = program.Open();
    QMenu* menu = Menu(*window, "mnuSettings");
    QCOMPARE(menu->title(), ToQString(u"設定ファイル(&S)"));
    QCOMPARE(Captions(*menu), (QStringList{ToQString(u"再読み込み"), "A.txt", "b.txt", "c.dat"}));
    QVERIFY(!Item(*window, "mnuSet1")->isChecked());
    QVERIFY(Item(*window, "mnuSet2")->isChecked());
    QCOMPARE(window->windowTitle(), QStringLiteral("Zelkora - b.txt"));

    Item(*window, "mnuSet3")->trigger();
    QVERIFY(Item(*window, "mnuSet3")->isChecked());
    QVERIFY(!Item(*window, "mnuSet2")->isChecked());
    QCOMPARE(window->windowTitle(), QStringLiteral("Zelkora - c.dat"));
    QCOMPARE(program.IniValue(u"File"), QStringLiteral("c.dat"));  // at once, not at exit

    Item(*window, "mnuSet3")->trigger();  // picking the current item keeps it current
    QVERIFY(Item(*window, "mnuSet3")->isChecked());
}

void frmMainTest::reloadListsAnewAndSelectsSavedName() {
    Program program;
    program.WriteTable("b.txt");
    program.WriteTable("c.txt");
    const auto window = program.Open();
    QVERIFY(Item(*window, "mnuSet1")->isChecked());  // no "File": the first one
    Item(*window, "mnuSet2")->trigger();
    program.WriteTable("a.txt");
    program.SetIni(u"File", u"a.txt");

    Item(*window, "mnuSet0")->trigger();
    QCOMPARE(Captions(*Menu(*window, "mnuSettings")),
             (QStringList{ToQString(u"再読み込み"), "a.txt", "b.txt", "c.txt"}));
    QVERIFY(!Item(*window, "mnuSet0")->isChecked());
    QVERIFY(Item(*window, "mnuSet1")->isChecked());
    QVERIFY(!Item(*window, "mnuSet3")->isChecked());
    QCOMPARE(window->windowTitle(), QStringLiteral("Zelkora - a.txt"));
    QCOMPARE(program.IniValue(u"File"), QStringLiteral("a.txt"));
    QVERIFY(program.messages.empty());
}

void frmMainTest::missingSettingsFolderShowsMessage() {
    Program program;
    QVERIFY(QDir(program.Folder()).rmdir("settings"));
    const auto window = program.Open();
    const std::pair<QString, QString> message{
        "Zelkora", ToQString(u"設定ファイル読み込みエラーが発生しました\n") + program.Folder() +
                       ToQString(u"/settings：フォルダが見つかりません")};
    QCOMPARE(program.messages, (std::vector{message}));
    QCOMPARE(Menu(*window, "mnuSettings")->actions().size(), 1);
    QCOMPARE(window->windowTitle(), QStringLiteral("Zelkora"));

    Item(*window, "mnuSet0")->trigger();
    QCOMPARE(program.messages, (std::vector{message, message}));
    QVERIFY(!std::filesystem::exists(program.Ini()));  // reloading writes nothing
}

void frmMainTest::emptySettingsFolderIsQuiet() {
    Program program;
    const auto window = program.Open();
    QVERIFY(program.messages.empty());
    QCOMPARE(Menu(*window, "mnuSettings")->actions().size(), 1);
    QCOMPARE(window->windowTitle(), QStringLiteral("Zelkora"));
    window->close();
    QCOMPARE(program.IniValue(u"File"), QStringLiteral("<none>"));  // nothing checked
}

void frmMainTest::rawFileNameOpensTheFile() {
    Program program;
    program.WriteTable("\xFF&.txt", Table(u"41 X\r\n"));  // not UTF-8, and an "&"
    const auto window = program.Open();
    const QString caption = QChar(0xDCFF) + QStringLiteral("&.txt");
    QCOMPARE(Item(*window, "mnuSet1")->text(), QChar(0xDCFF) + QStringLiteral("&&.txt"));
    QCOMPARE(window->windowTitle(), "Zelkora - " + caption);
    Type(Editor(*window, 0), QStringLiteral("41"));
    QTest::mouseClick(Button(*window, 2), Qt::LeftButton);
    QCOMPARE(Text(*window, 1), QStringLiteral("X"));
}

void frmMainTest::firstStartSavesEveryKey() {
    Program program;
    program.WriteTable("table.txt");
    const auto window = program.Open();
    QVERIFY(!Item(*window, "mnuOpItem1")->isChecked());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->close();
    QCOMPARE(program.IniValue(u"File"), QStringLiteral("table.txt"));
    QCOMPARE(program.IniValue(u"Ret"), QStringLiteral("0"));
    QCOMPARE(program.IniValue(u"WinState"), QStringLiteral("0"));
    const double dpi = ScreenDpi();
    const QRect frame = window->frameGeometry();
    QCOMPARE(program.IniValue(u"X").toDouble(), std::round(frame.x() * 1440 / dpi));
    QCOMPARE(program.IniValue(u"Y").toDouble(), std::round(frame.y() * 1440 / dpi));
    QCOMPARE(program.IniValue(u"W").toDouble(), std::round(frame.width() * 1440 / dpi));
    QCOMPARE(program.IniValue(u"H").toDouble(), std::round(frame.height() * 1440 / dpi));
}

void frmMainTest::lineBreakOptionRestored_data() {
    QTest::addColumn<QString>("ret");  // null: no key
    QTest::addColumn<bool>("checked");
    QTest::newRow("minus-one") << "-1" << true;
    QTest::newRow("five") << "5" << true;
    QTest::newRow("zero") << "0" << false;
    QTest::newRow("letter") << "x1" << false;
    QTest::newRow("missing") << QString() << false;
}

void frmMainTest::lineBreakOptionRestored() {
    QFETCH(QString, ret);
    QFETCH(bool, checked);
    Program program;
    if (!ret.isNull()) {
        program.SetIni(u"Ret", ret.toStdU16String());
    }
    const auto window = program.Open();
    QCOMPARE(Item(*window, "mnuOpItem1")->isChecked(), checked);
}

void frmMainTest::lineBreakOptionTogglesAndIsSaved() {
    Program program;
    program.WriteTable("table.txt", Table(u"5C \\n\r\n41 A\r\n"));
    const auto window = program.Open();
    QAction* option = Item(*window, "mnuOpItem1");
    QCOMPARE(option->text(), ToQString(u"\\nは改行に変換(&N)"));
    option->trigger();
    QVERIFY(option->isChecked());
    // The conversion reads the check mark as it runs: the line break becomes the token's code.
    Box(*window, 0)->SetText(u"A\r\nA");
    QTest::mouseClick(Button(*window, 3), Qt::LeftButton);
    QCOMPARE(Text(*window, 1), QStringLiteral("41 5C 41 "));
    option->trigger();
    QVERIFY(!option->isChecked());
    option->trigger();
    window->close();
    QCOMPARE(program.IniValue(u"Ret"), QStringLiteral("-1"));
}

void frmMainTest::placementRoundTrip() {
    Program program;
    program.SetIni(u"X", u"1500");
    program.SetIni(u"Y", u"3000");
    program.SetIni(u"W", u"9000");
    program.SetIni(u"H", u"6000");
    const auto window = program.Open();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    const double dpi = ScreenDpi();
    const auto px = [dpi](double twips) {
        return static_cast<int>(std::lround(twips * dpi / 1440));
    };
    QCOMPARE(window->frameGeometry(), QRect(px(1500), px(3000), px(9000), px(6000)));
    window->close();
    QCOMPARE(program.IniValue(u"WinState"), QStringLiteral("0"));
    QCOMPARE(program.IniValue(u"X"), QStringLiteral("1500"));
    QCOMPARE(program.IniValue(u"Y"), QStringLiteral("3000"));
    QCOMPARE(program.IniValue(u"W"), QStringLiteral("9000"));
    QCOMPARE(program.IniValue(u"H"), QStringLiteral("6000"));
}

void frmMainTest::partlyOffScreenStays() {
    Program program;
    program.SetIni(u"X", u"-3000");
    program.SetIni(u"Y", u"1500");
    const auto window = program.Open();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    // The offscreen platform nudges a window that starts left of the screen by its frame's
    // border, so only the side it is on is checked.
    QVERIFY(window->frameGeometry().x() < -100);
}

void frmMainTest::placementValuesNotTaken_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("zero-width") << "W"
                                << "0";
    QTest::newRow("negative-height") << "H"
                                     << "-600";
    QTest::newRow("state-seven") << "WinState"
                                 << "7";
    QTest::newRow("monitor-gone") << "X"
                                  << "-150000";
}

void frmMainTest::placementValuesNotTaken() {
    QFETCH(QString, key);
    QFETCH(QString, value);
    Program program;
    program.SetIni(u"X", u"1500");
    program.SetIni(u"Y", u"1500");
    program.SetIni(key.toStdU16String(), value.toStdU16String());
    const auto window = program.Open();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->windowState(), Qt::WindowNoState);
    QVERIFY(window->width() > 0 && window->height() > 0);
    QVERIFY(window->frameGeometry().intersects(window->screen()->geometry()));
}

void frmMainTest::maximisedSavesOnlyState() {
    Program program;
    program.SetIni(u"X", u"1500");
    program.SetIni(u"WinState", u"2");
    const auto window = program.Open();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QVERIFY(window->isMaximized());
    program.SetIni(u"X", u"3000");
    window->close();
    QCOMPARE(program.IniValue(u"WinState"), QStringLiteral("2"));
    QCOMPARE(program.IniValue(u"X"), QStringLiteral("3000"));
    QCOMPARE(program.IniValue(u"W"), QStringLiteral("<none>"));
}

void frmMainTest::menusInOrder() {
    Program program;
    const auto window = program.Open();
    QStringList titles;
    for (const QAction* action : window->menuBar()->actions()) {
        titles << action->text();
    }
    QCOMPARE(titles, (QStringList{ToQString(u"ファイル(&F)"), ToQString(u"オプション(&O)"),
                                  ToQString(u"設定ファイル(&S)"), ToQString(u"ヘルプ(&H)")}));
    QCOMPARE(Captions(*Menu(*window, "mnuFile")), QStringList{ToQString(u"終了(&X)")});
    QCOMPARE(Item(*window, "mnuFileItem99")->text(), ToQString(u"終了(&X)"));
    QCOMPARE(Captions(*Menu(*window, "mnuHelp")),
             (QStringList{ToQString(u"ReadMeを開く(&R)..."), ToQString(u"作者のHPへ(&H)"),
                          ToQString(u"バージョン情報(&V)..."), ToQString(u"-"),
                          ToQString(u"自動更新(&U)...")}));
    QVERIFY(Item(*window, "mnuHelpItem98")->isSeparator());
    QVERIFY(!Item(*window, "mnuHelpItem98")->isVisible());
    QVERIFY(!Item(*window, "mnuHelpItem99")->isVisible());
    for (const QAction* action : window->findChildren<QAction*>()) {
        QVERIFY2(action->shortcut().isEmpty(), qPrintable(action->objectName()));
    }
}

void frmMainTest::readMeItemFollowsFile() {
    Program program;
    const auto window = program.Open();
    window->show();
    QMenu* help = Menu(*window, "mnuHelp");
    QAction* readMe = Item(*window, "mnuHelpItem0");
    help->popup(QPoint());
    QVERIFY(!readMe->isEnabled());
    help->hide();

    program.WriteFile("ReadMe.txt", "read me");
    help->popup(QPoint());
    QVERIFY(readMe->isEnabled());
    readMe->trigger();
    help->hide();
    QCOMPARE(program.launches.size(), std::size_t{1});
    QCOMPARE(ToQString(program.launches[0].file), program.Folder() + "/ReadMe.txt");
    QVERIFY(program.launches[0].directory == kDeriveDirectory);

    // Gone between opening the menu and choosing the item: nothing is launched.
    QVERIFY(QFile::remove(program.Folder() + "/ReadMe.txt"));
    window->findChild<MainMenus*>()->mnuHelpItem_Click(0);
    QCOMPARE(program.launches.size(), std::size_t{1});
}

void frmMainTest::homePageAndVersion() {
    Program program;
    const auto window = program.Open();
    Item(*window, "mnuHelpItem1")->trigger();
    QCOMPARE(program.launches.size(), std::size_t{1});
    QVERIFY(program.launches[0].file == kHomePageAddress);
    QVERIFY(program.launches[0].directory == kDeriveDirectory);

    Item(*window, "mnuHelpItem2")->trigger();
    const std::pair<QString, QString> version{
        "Zelkora", ToQString(u"Zelkora Ver1.1.2\r\n作者 Zelkora Project")};
    QCOMPARE(program.messages, (std::vector{version}));
}

// A desktop without xdg-open: the Help items open nothing and the window stays silent, but
// standard error says what could not be opened.
void frmMainTest::failedLaunchOnStandardError_data() {
    QTest::addColumn<QString>("target");  // empty: a file in a folder of the test's own
    QTest::newRow("read-me") << QString();
    QTest::newRow("home-page") << ToQString(kHomePageAddress);
}

void frmMainTest::failedLaunchOnStandardError() {
    QFETCH(QString, target);
    QTemporaryDir noOpener;
    if (target.isEmpty()) {
        target = noOpener.filePath(QStringLiteral("ReadMe.txt"));
        QVERIFY(test::WriteBytes(ToPath(target), "read me"));
    }
    const QByteArray path = qgetenv("PATH");
    const QString log = noOpener.filePath(QStringLiteral("stderr"));
    qputenv("PATH", noOpener.path().toLocal8Bit());
    std::fflush(stderr);
    const int terminal = ::dup(STDERR_FILENO);
    const int logged = ::open(QFile::encodeName(log).constData(), O_WRONLY | O_CREAT, 0600);
    ::dup2(logged, STDERR_FILENO);
    ::close(logged);
    const bool started = fShellExecute(target.toStdU16String(), std::u16string(kDeriveDirectory));
    std::fflush(stderr);
    ::dup2(terminal, STDERR_FILENO);
    ::close(terminal);
    qputenv("PATH", path);
    QVERIFY(!started);
    const std::string said = test::ReadBytes(ToPath(log));
    QVERIFY2(said.find("zelkora: cannot open '" + target.toStdString() + "'") != std::string::npos,
             said.c_str());
}

void frmMainTest::otherIndexesDoNothing() {
    Program program;
    const auto window = program.Open();
    window->show();
    auto* menus = window->findChild<MainMenus*>();
    for (const std::int16_t index : std::initializer_list<std::int16_t>{-1, 3, 97, 98, 99}) {
        menus->mnuHelpItem_Click(index);
    }
    menus->mnuFileItem_Click(0);
    menus->mnuFileItem_Click(1);
    menus->mnuOpItem_Click(0);
    menus->mnuOpItem_Click(99);
    window->cmd_Click(4);
    window->cmd_Click(-1);
    QVERIFY(program.messages.empty());
    QVERIFY(program.launches.empty());
    QVERIFY(window->isVisible());
    QVERIFY(!Item(*window, "mnuOpItem1")->isChecked());
}

void frmMainTest::exitItemClosesAndSaves() {
    Program program;
    const auto window = program.Open();
    window->show();
    Item(*window, "mnuFileItem99")->trigger();
    QVERIFY(!window->isVisible());
    QCOMPARE(program.IniValue(u"Ret"), QStringLiteral("0"));
}

// setting.ini cannot be written: closing says so in one message naming the file and why.
void frmMainTest::unsavedSettingsSaidOnce() {
    Program program;
    program.WriteTable("table.txt");
    const auto window = program.Open();
    QVERIFY(QDir(program.Folder()).mkdir("setting.ini"));
    window->close();
    const std::pair<QString, QString> message{
        "Zelkora", ToQString(u"設定を保存できませんでした。\n") + program.Folder() +
                       ToQString(u"/setting.ini\n同じ名前のフォルダがあります。")};
    QCOMPARE(program.messages, (std::vector{message}));
}

void frmMainTest::layoutFollowsClientArea() {
    if (ScreenDpi() != 96) {
        QSKIP("the pixel figures below are for 96 dpi");
    }
    Program program;
    const auto window = program.Open();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->centralWidget()->size(), QSize(472, 257));  // the design's client area
    QCOMPARE(Box(*window, 0)->geometry(), QRect(80, 0, 391, 128));
    QCOMPARE(Box(*window, 1)->geometry(), QRect(80, 128, 391, 129));
    QCOMPARE(Button(*window, 1)->geometry(), QRect(0, 32, 81, 33));
    QCOMPARE(Button(*window, 3)->geometry(), QRect(0, 96, 81, 33));

    const int menu = window->height() - window->centralWidget()->height();
    window->resize(600, 200 + menu);
    QTRY_COMPARE(window->centralWidget()->size(), QSize(600, 200));
    // The input box is the client width less the button column (1215 twips), but starts at
    // 1200: it ends one pixel short of the right edge, as at the design size.
    QCOMPARE(Box(*window, 0)->geometry(), QRect(80, 0, 519, 100));
    QCOMPARE(Box(*window, 1)->geometry(), QRect(80, 100, 519, 100));

    // Narrower than the buttons: the boxes keep their width.
    window->resize(60, 201 + menu);
    QTRY_COMPARE(window->centralWidget()->height(), 201);
    QCOMPARE(Box(*window, 0)->geometry(), QRect(80, 0, 519, 100));
    QCOMPARE(Box(*window, 1)->geometry(), QRect(80, 100, 519, 101));
}

void frmMainTest::startFocusAndTabOrder() {
    Program program;
    const auto window = program.Open();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QVERIFY(Editor(*window, 0)->hasFocus());
    QCOMPARE(Text(*window, 0), QString());
    std::vector<QWidget*> order{Editor(*window, 1)};
    for (int i = 0; i < 4; ++i) {
        order.push_back(Button(*window, i));
    }
    for (QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

QTEST_MAIN(frmMainTest)
#include "frmMain_test.moc"
