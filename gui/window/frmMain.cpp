#include "gui/window/frmMain.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QMenuBar>
#include <QPushButton>
#include <chrono>
#include <cstdio>

#include "core/common/AppInfo.h"
#include "core/common/IniNames.h"
#include "core/common/mod_ini.h"
#include "core/engine/CodeToText.h"
#include "core/engine/Spacing.h"
#include "core/engine/TextToCode.h"
#include "core/tables/TableMessages.h"
#include "core/tables/TableReader.h"
#include "core/window/SaveFailureMessage.h"
#include "core/window/WindowLayout.h"
#include "gui/common/QtConversions.h"
#include "gui/menus/MainMenus.h"
#include "gui/tables/SettingsMenu.h"
#include "gui/textbox/WebText.h"
#include "gui/window/WindowPlacement.h"

namespace zelkora {
namespace {

struct ButtonDesign {
    const char16_t* caption;
    const char16_t* toolTip;
};

constexpr std::array<ButtonDesign, 4> kButtons{{
    {u"変換", u"自動でコードか文字か認識して変換を行います"},
    {u"クリア", u"全テキストボックスのクリア"},
    {u"コード→文字", u"コード→文字へ変換"},
    {u"文字→コード", u"文字→コードへ変換"},
}};

// Where the boxes sit until the first layout replaces all but their left and top edges.
constexpr std::array<Rect, 2> kBoxDesign{{{kBoxLeft, 0, 3135, 615}, {kBoxLeft, 1560, 3135, 615}}};

QRect ToQRect(const Rect& rect) {
    return {rect.left, rect.top, rect.width, rect.height};
}

QRect PixelsOf(const Rect& twips) {
    return ToQRect(PixelRectFromTwips(twips, ScreenDpi()));
}

double TwipsOf(int pixels) {
    return TwipsFromPixels(pixels, ScreenDpi());
}

// Only the pressed button is disabled while its action runs, and it comes back however the
// action ends.
class DisabledWhileRunning {
public:
    explicit DisabledWhileRunning(QPushButton& button) : button_(button) {
        button_.setEnabled(false);
    }
    ~DisabledWhileRunning() { button_.setEnabled(true); }
    DisabledWhileRunning(const DisabledWhileRunning&) = delete;
    DisabledWhileRunning& operator=(const DisabledWhileRunning&) = delete;

private:
    QPushButton& button_;
};

}  // namespace

frmMain::frmMain(frmMainServices services)
    : showMessage_(std::move(services.showMessage)),
      iniPath_(services.paths.IniFile()),
      client_(new QWidget(this)) {
    setWindowTitle(ToQString(kApplicationTitle));
    setCentralWidget(client_);
    client_->installEventFilter(this);
    // For the quit the window system delivers to the application as the desktop session ends,
    // before it closes the windows.
    QCoreApplication::instance()->installEventFilter(this);

    for (std::size_t i = 0; i < txt_.size(); ++i) {
        WebTextProperties stored;
        stored.Locked = i == kOutputBox;  // the output box is only read from
        txt_[i] = new WebText(stored, client_);
        txt_[i]->setObjectName(QStringLiteral("txt%1").arg(i));
        txt_[i]->setGeometry(PixelsOf(kBoxDesign[i]));
        const auto index = static_cast<std::int16_t>(i);
        connect(txt_[i], &WebText::KeyDown, this,
                [this, index](std::int16_t& KeyCode, std::int16_t& Shift) {
                    txt_KeyDown(index, KeyCode, Shift);
                });
        connect(txt_[i], &WebText::DropRefused, this, [this](const QString& message) {
            showMessage_(this, ToQString(kApplicationTitle), message);
        });
    }
    for (std::size_t i = 0; i < cmd_.size(); ++i) {
        cmd_[i] = new QPushButton(ToQString(kButtons[i].caption), client_);
        cmd_[i]->setObjectName(QStringLiteral("cmd%1").arg(i));
        cmd_[i]->setToolTip(ToQString(kButtons[i].toolTip));
        cmd_[i]->setGeometry(PixelsOf(ButtonRect(static_cast<int>(i))));
        const auto index = static_cast<std::int16_t>(i);
        connect(cmd_[i], &QPushButton::clicked, this, [this, index] { cmd_Click(index); });
    }
    setTabOrder(&Input(), &Output());
    setTabOrder(&Output(), cmd_[0]);
    for (std::size_t i = 1; i < cmd_.size(); ++i) {
        setTabOrder(cmd_[i - 1], cmd_[i]);
    }

    menus_ =
        new MainMenus(*this, services.paths.readMe, showMessage_, std::move(services.shellExecute));
    settings_ = new SettingsMenu(this, services.paths.tablesFolder, IniPath(), showMessage_);
    menuBar()->insertMenu(menus_->mnuHelp()->menuAction(), settings_->mnuSettings());

    const QRect client = PixelsOf({0, 0, kDesignClientWidth, kDesignClientHeight});
    const int menuHeight = menuBar()->heightForWidth(client.width());
    resize(client.width(),
           client.height() + (menuHeight > 0 ? menuHeight : menuBar()->sizeHint().height()));

    Load();
}

frmMain::~frmMain() = default;

// IniPath, the first step, is set as the window is constructed.
void frmMain::Load() {
    Input().SetText(u"");
    settings_->sLoadTableMenu();
    settings_->sSelectTable(GetIniString(kIniSection, kIniKeyFile, IniPath(), u""));
    menus_->SetLineBreakOption(GetIniInt(kIniSection, kIniKeyRet, 0, IniPath()) != 0);
    restoredFrame_ = RestoreWindowPlacement(*this, IniPath());
}

// The window is the program's only one, so it becomes the program's active window once, as it
// is first shown. Coming back from another program leaves the focus where the user left it.
void frmMain::Activate() {
    if (activated_) {
        return;
    }
    activated_ = true;
    // Only now, with the window framed, is the frame's size known: the restored placement
    // covers the whole window, frame included.
    if (restoredFrame_ && windowState() == Qt::WindowNoState) {
        FitFrame(*this, *restoredFrame_);
    }
    restoredFrame_.reset();
    Input().sSetFocus();
}

void frmMain::Resize() {
    if (isMinimized()) {
        return;
    }
    const BoxLayout layout =
        LayOutBoxes(TwipsOf(client_->width()), TwipsOf(client_->height()),
                    static_cast<std::int32_t>(RoundHalfEven(TwipsOf(Input().width()))));
    Input().setGeometry(PixelsOf(layout.input));
    Output().setGeometry(PixelsOf(layout.output));
}

// Everything in one write: two windows closing at the same moment then leave one window's
// values in setting.ini, never a mix of both. One message when it cannot be written, rather
// than settings lost without a word.
void frmMain::Unload() {
    std::vector<IniEntry> entries;
    const std::u16string current = settings_->fCurrentTable();
    if (!current.empty()) {
        entries.push_back({kIniKeyFile, current});
    }
    entries.push_back({kIniKeyRet, menus_->LineBreakOption() ? u"-1" : u"0"});
    if (const Result<> saved = SaveWindowPlacement(*this, IniPath(), std::move(entries)); !saved) {
        if (unattended_) {
            std::fputs(SaveFailureLine(IniPath(), saved.error()).c_str(), stderr);
        } else {
            showMessage_(this, ToQString(kApplicationTitle),
                         ToQString(SaveFailureMessage(IniPath(), saved.error())));
        }
    }
}

void frmMain::CloseUnattended() {
    unattended_ = true;
    close();
}

bool frmMain::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        Activate();
    }
    return QMainWindow::event(event);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) {
        Resize();
    }
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit) {
        unattended_ = true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::closeEvent(QCloseEvent* event) {
    Unload();
    event->accept();
}

// Whether the conversion may go on. The checked table's earlier content stays in use only where
// an editor saving it explains the failure: the file is empty at that moment, or it is missing
// and back within kSaveGap (the window waits that long, no longer). Anything else, and another
// file's table, would convert with a table that is not the one the file and the title say, so
// the user is told and nothing converts. With no table listed there is nothing to name, and the
// conversion runs on what is held.
bool frmMain::ReadCurrentTable() {
    constexpr std::chrono::milliseconds kSaveGap{200};
    const std::optional<std::filesystem::path> file = settings_->fCurrentTableFile();
    if (!file) {
        return true;
    }
    const Result<> read = ReadTableFileBackWithin(*file, codeTable_, kSaveGap);
    if (read) {
        codeTableFile_ = file;
        return true;
    }
    if (read == ReadStatus::EmptyFile && codeTableFile_ == file) {
        return true;
    }
    showMessage_(this, ToQString(kApplicationTitle),
                 ToQString(TableReadErrorMessage(settings_->fCurrentTable(), read.error())));
    return false;
}

// The user sees the spaced codes in the input box, and the conversion reads them from there.
void frmMain::ApplySpacing() {
    const std::u16string input = Input().Text();
    if (NeedsSpacing(input)) {
        Input().SetText(fSplitPairs(input));
    }
}

void frmMain::cmd_Click(std::int16_t Index) {
    if (Index < 0 || static_cast<std::size_t>(Index) >= cmd_.size()) {
        return;
    }
    const DisabledWhileRunning running(*cmd_[static_cast<std::size_t>(Index)]);
    switch (static_cast<CommandButton>(Index)) {
        case CommandButton::Automatic:
            if (!ReadCurrentTable()) {
                break;
            }
            if (LooksLikeCodes(Input().Text())) {
                ApplySpacing();
                Output().SetText(
                    fCodeToText(codeTable_, Input().Text(), menus_->LineBreakOption()));
            } else {
                Output().SetText(
                    fTextToCode(codeTable_, Input().Text(), menus_->LineBreakOption()));
            }
            break;
        case CommandButton::Clear:
            Input().SetText(u"");
            Output().SetText(u"");
            Input().sSetFocus();
            break;
        case CommandButton::CodesToText:
            ApplySpacing();
            if (!ReadCurrentTable()) {
                break;
            }
            Output().SetText(fCodeToText(codeTable_, Input().Text(), menus_->LineBreakOption()));
            break;
        case CommandButton::TextToCodes:
            if (!ReadCurrentTable()) {
                break;
            }
            Output().SetText(fTextToCode(codeTable_, Input().Text(), menus_->LineBreakOption()));
            break;
    }
}

void frmMain::txt_KeyDown(std::int16_t Index, std::int16_t& KeyCode, std::int16_t& Shift) {
    constexpr std::int16_t kSpace = 32;
    constexpr std::int16_t kCtrlAlone = 2;
    if (Index == kInputBox && KeyCode == kSpace && Shift == kCtrlAlone) {
        // Pressing the button takes the focus, which commits; the key leaves it where it is.
        QGuiApplication::inputMethod()->commit();
        cmd_Click(static_cast<std::int16_t>(CommandButton::Automatic));
        KeyCode = 0;
    }
}

}  // namespace zelkora
