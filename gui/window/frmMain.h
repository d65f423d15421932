#pragma once

#include <QMainWindow>
#include <QRect>
#include <QString>
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "core/common/ProgramPaths.h"
#include "core/engine/CodeTable.h"
#include "gui/common/MessageBox.h"
#include "gui/menus/ShellExecute.h"

class QPushButton;

namespace zelkora {

class MainMenus;
class SettingsMenu;
class WebText;

// The buttons, by the index their handler is given.
enum class CommandButton : std::int16_t {
    Automatic = 0,
    Clear = 1,
    CodesToText = 2,
    TextToCodes = 3
};

// What the window takes from its surroundings. Tests give it a folder of their own and stand
// in for the message box and the desktop.
struct frmMainServices {
    ProgramPaths paths;  // setting.ini, the tables and ReadMe.txt
    MessageBoxFunction showMessage = ShowMessageBox;
    ShellExecuteFunction shellExecute = fShellExecute;
};

// The main window: input box over output box right of four buttons, and the menu bar. It
// loads its settings when it is created and saves them when it is closed, saying so when
// setting.ini cannot be written: in a message box when the user closes it, on standard error
// when the system does (CloseUnattended, or the quit the window system delivers as the desktop
// session ends).
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMain(frmMainServices services);
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;
    ~frmMain() override;

    // Index is a CommandButton; any other does nothing.
    void cmd_Click(std::int16_t Index);
    // Ctrl+Space in the input box runs the automatic conversion and is consumed; text still
    // being composed in an input method is committed first, as pressing the button does.
    void txt_KeyDown(std::int16_t Index, std::int16_t& KeyCode, std::int16_t& Shift);

    // Closes as close() does, when the system ends the program rather than the user (a signal,
    // the end of the desktop session): nobody may be there to answer a message box, so a failure
    // to save the settings goes to standard error instead.
    void CloseUnattended();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Load();
    void Activate();
    void Resize();
    void Unload();

    // The text boxes are txt index 0 and 1.
    static constexpr std::int16_t kInputBox = 0;
    static constexpr std::int16_t kOutputBox = 1;
    WebText& Input() const { return *txt_[kInputBox]; }
    WebText& Output() const { return *txt_[kOutputBox]; }

    [[nodiscard]] bool ReadCurrentTable();
    void ApplySpacing();

    // setting.ini, which the design's IniPath names.
    [[nodiscard]] const std::filesystem::path& IniPath() const { return iniPath_; }

    MessageBoxFunction showMessage_;
    std::filesystem::path iniPath_;
    CodeTable codeTable_;
    // The file codeTable_ was read from; nothing before the first read.
    std::optional<std::filesystem::path> codeTableFile_;
    QWidget* client_;
    std::array<WebText*, 2> txt_{};
    std::array<QPushButton*, 4> cmd_{};
    MainMenus* menus_ = nullptr;
    SettingsMenu* settings_ = nullptr;
    bool activated_ = false;
    bool unattended_ = false;  // see CloseUnattended
    std::optional<QRect> restoredFrame_;
};

}  // namespace zelkora
