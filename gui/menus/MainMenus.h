#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <filesystem>

#include "gui/common/MessageBox.h"
#include "gui/menus/ShellExecute.h"

class QAction;
class QMainWindow;
class QMenu;

namespace zelkora {

// The items of each menu, by the index their handler is given.
enum class FileItem : std::int16_t { Exit = 99 };
enum class OptionItem : std::int16_t { LineBreak = 1 };
// 98 and 99 are the design's update command and its separator: the menu keeps them, hidden,
// so that it holds the design's items at the design's indexes.
enum class HelpItem : std::int16_t {
    ReadMe = 0,
    HomePage = 1,
    Version = 2,
    UpdateSeparator = 98,
    Update = 99
};

// The File, Option and Help menus of the main window and their commands. Each handler takes
// the index of the chosen item and ignores the indexes it has no command for.
class MainMenus : public QObject {
    Q_OBJECT

public:
    MainMenus(QMainWindow& window, const std::filesystem::path& readMe,
              MessageBoxFunction showMessage, ShellExecuteFunction shellExecute);
    MainMenus(const MainMenus&) = delete;
    MainMenus& operator=(const MainMenus&) = delete;

    // The menu that other menus go in front of, so that Help stays last.
    QMenu* mnuHelp() const { return mnuHelp_; }

    // The line-break option lives only in the check mark of its item.
    [[nodiscard]] bool LineBreakOption() const;
    void SetLineBreakOption(bool on);

    void mnuFileItem_Click(std::int16_t Index);
    void mnuOpItem_Click(std::int16_t Index);
    void mnuHelp_Click();
    void mnuHelpItem_Click(std::int16_t Index);

private:
    QMainWindow& window_;
    QString readMe_;
    MessageBoxFunction showMessage_;
    ShellExecuteFunction shellExecute_;
    QMenu* mnuHelp_ = nullptr;
    QAction* lineBreakItem_ = nullptr;
    QAction* readMeItem_ = nullptr;
};

}  // namespace zelkora
