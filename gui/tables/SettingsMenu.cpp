#include "gui/tables/SettingsMenu.h"

#include <QAction>
#include <QByteArray>
#include <QMenu>
#include <QWidget>
#include <algorithm>
#include <system_error>
#include <utility>

#include "core/common/AppInfo.h"
#include "core/common/FileNames.h"
#include "core/common/IniNames.h"
#include "core/common/mod_ini.h"
#include "core/tables/Catalogue.h"
#include "core/tables/TableMessages.h"
#include "gui/common/QtConversions.h"

namespace zelkora {
namespace {

// Items keep the file's raw name, which opens the file whatever bytes it is made of.
std::string RawName(const QAction& item) {
    return item.data().toByteArray().toStdString();
}

std::u16string Caption(const QAction& item) {
    return FileNameToText(RawName(item));
}

}  // namespace

SettingsMenu::SettingsMenu(QWidget* window, std::filesystem::path settingsFolder,
                           std::filesystem::path iniPath, MessageBoxFunction showMessage)
    : QObject(window),
      window_(window),
      settingsFolder_(std::move(settingsFolder)),
      iniPath_(std::move(iniPath)),
      showMessage_(std::move(showMessage)),
      mnuSettings_(new QMenu(QStringLiteral("設定ファイル(&S)"), window)) {
    mnuSettings_->setObjectName(QStringLiteral("mnuSettings"));
    QAction* reload = mnuSettings_->addAction(QStringLiteral("再読み込み"));
    reload->setObjectName(QStringLiteral("mnuSet%1").arg(kReloadItem));
    connect(reload, &QAction::triggered, this, [this] { mnuSet_Click(kReloadItem); });
    mnuSet_.push_back(reload);
}

void SettingsMenu::sLoadTableMenu() {
    const Result<std::vector<std::string>> names = ListTableFiles(settingsFolder_);
    if (!names) {
        showMessage_(window_, ToQString(kApplicationTitle),
                     ToQString(ListingErrorMessage(settingsFolder_, names.error())));
        return;
    }
    for (const std::string& name : *names) {
        const auto index = static_cast<std::int16_t>(mnuSet_.size());
        // "&" in a file name is shown as itself, not taken for an access key.
        QString caption = ToQString(FileNameToText(name));
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* item = mnuSettings_->addAction(caption);
        item->setObjectName(QStringLiteral("mnuSet%1").arg(index));
        item->setData(QByteArray::fromStdString(name));
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, index] { mnuSet_Click(index); });
        mnuSet_.push_back(item);
    }
}

void SettingsMenu::sUnloadTableMenu() {
    for (std::size_t i = 1; i < mnuSet_.size(); ++i) {
        delete mnuSet_[i];
    }
    mnuSet_.resize(1);
}

QAction* SettingsMenu::CheckedItem() const {
    const auto checked = std::find_if(mnuSet_.rbegin(), mnuSet_.rend() - 1,
                                      [](const QAction* item) { return item->isChecked(); });
    return checked != mnuSet_.rend() - 1 ? *checked : nullptr;
}

std::u16string SettingsMenu::fCurrentTable() const {
    const QAction* item = CheckedItem();
    return item != nullptr ? Caption(*item) : std::u16string();
}

std::optional<std::filesystem::path> SettingsMenu::fCurrentTableFile() const {
    const QAction* item = CheckedItem();
    if (item == nullptr) {
        return std::nullopt;
    }
    return settingsFolder_ / RawName(*item);
}

void SettingsMenu::sSelectTable(std::u16string_view name) {
    std::vector<std::string> names;
    for (std::size_t i = 1; i < mnuSet_.size(); ++i) {
        names.push_back(RawName(*mnuSet_[i]));
    }
    const std::optional<std::string> chosen = ChooseTable(names, name);
    if (!chosen) {
        return;
    }
    const auto item = std::find(names.begin(), names.end(), *chosen) - names.begin();
    MakeCurrent(*mnuSet_[static_cast<std::size_t>(item) + 1]);
}

void SettingsMenu::MakeCurrent(QAction& item) {
    item.setChecked(true);
    std::u16string title(kApplicationTitle);
    title.append(u" - ").append(Caption(item));
    window_->setWindowTitle(ToQString(title));
}

void SettingsMenu::mnuSet_Click(std::int16_t Index) {
    if (Index == kReloadItem) {
        sUnloadTableMenu();
        sLoadTableMenu();
        sSelectTable(GetIniString(kIniSection, kIniKeyFile, iniPath_, u""));
        return;
    }
    if (Index < 0 || static_cast<std::size_t>(Index) >= mnuSet_.size()) {
        return;
    }
    for (std::size_t i = 1; i < mnuSet_.size(); ++i) {
        mnuSet_[i]->setChecked(false);
    }
    QAction& item = *mnuSet_[static_cast<std::size_t>(Index)];
    MakeCurrent(item);
    // Silent here: the window writes the choice again as it closes, and says so if it cannot.
    static_cast<void>(WriteIniString(kIniSection, kIniKeyFile, Caption(item), iniPath_));
}

}  // namespace zelkora
