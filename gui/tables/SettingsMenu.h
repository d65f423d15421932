#pragma once

#include <QObject>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gui/common/MessageBox.h"

class QAction;
class QMenu;
class QWidget;

namespace zelkora {

// The settings menu: "再読み込み" (index 0) and one item per file of the settings folder
// (1 to n). The checked item is the current table; nothing else remembers it.
class SettingsMenu : public QObject {
    Q_OBJECT

public:
    SettingsMenu(QWidget* window, std::filesystem::path settingsFolder,
                 std::filesystem::path iniPath, MessageBoxFunction showMessage);
    SettingsMenu(const SettingsMenu&) = delete;
    SettingsMenu& operator=(const SettingsMenu&) = delete;

    // The reload item's index; the tables follow it, from 1.
    static constexpr std::int16_t kReloadItem = 0;

    QMenu* mnuSettings() const { return mnuSettings_; }

    // Appends one item per file of the folder; the folder missing or unreadable shows the
    // listing error, with the folder and why, and adds nothing.
    void sLoadTableMenu();
    // Removes the table items, keeping the reload item.
    void sUnloadTableMenu();
    // The checked item's caption, the highest one should several be checked; empty when none.
    [[nodiscard]] std::u16string fCurrentTable() const;
    // The file behind the checked item, named by its raw bytes.
    [[nodiscard]] std::optional<std::filesystem::path> fCurrentTableFile() const;
    // Checks the item named name, or else the first item, and names it in the window caption.
    void sSelectTable(std::u16string_view name);
    // The reload item reloads the list; 1 to n makes that item current and remembers it under
    // "File".
    void mnuSet_Click(std::int16_t Index);

private:
    QAction* CheckedItem() const;
    void MakeCurrent(QAction& item);

    QWidget* window_;
    std::filesystem::path settingsFolder_;
    std::filesystem::path iniPath_;
    MessageBoxFunction showMessage_;
    QMenu* mnuSettings_;
    std::vector<QAction*> mnuSet_;  // from the reload item on
};

}  // namespace zelkora
