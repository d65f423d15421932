#include "gui/menus/MainMenus.h"

#include <QAction>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <utility>

#include "core/common/AppInfo.h"
#include "core/menus/MenusLogic.h"
#include "gui/common/QtConversions.h"

namespace zelkora {
namespace {

QMenu* AddMenu(QMainWindow& window, const QString& name, const QString& caption) {
    QMenu* menu = window.menuBar()->addMenu(caption);
    menu->setObjectName(name);
    return menu;
}

// Items are named after their menu's item array and their fixed index ("mnuHelpItem2"), the
// index being what the handler is given.
template <typename Item>
QAction* AddItem(QMenu& menu, const QString& array, Item item, const QString& caption,
                 MainMenus& menus, void (MainMenus::*handler)(std::int16_t)) {
    const auto index = static_cast<std::int16_t>(item);
    QAction* action = menu.addAction(caption);
    action->setObjectName(array + QString::number(index));
    QObject::connect(action, &QAction::triggered, &menus,
                     [&menus, handler, index] { (menus.*handler)(index); });
    return action;
}

}  // namespace

MainMenus::MainMenus(QMainWindow& window, const std::filesystem::path& readMe,
                     MessageBoxFunction showMessage, ShellExecuteFunction shellExecute)
    : QObject(&window),
      window_(window),
      readMe_(FromPath(readMe)),
      showMessage_(std::move(showMessage)),
      shellExecute_(std::move(shellExecute)) {
    QMenu* mnuFile = AddMenu(window, QStringLiteral("mnuFile"), QStringLiteral("ファイル(&F)"));
    AddItem(*mnuFile, QStringLiteral("mnuFileItem"), FileItem::Exit, QStringLiteral("終了(&X)"),
            *this, &MainMenus::mnuFileItem_Click);

    QMenu* mnuOp = AddMenu(window, QStringLiteral("mnuOp"), QStringLiteral("オプション(&O)"));
    lineBreakItem_ = mnuOp->addAction(QStringLiteral("\\nは改行に変換(&N)"));
    lineBreakItem_->setObjectName(
        QStringLiteral("mnuOpItem%1").arg(static_cast<int>(OptionItem::LineBreak)));
    lineBreakItem_->setCheckable(true);
    // A checkable action flips its own mark before it reports the choice; that flip is undone
    // so that the handler alone decides, as it does when called directly.
    connect(lineBreakItem_, &QAction::triggered, this, [this] {
        lineBreakItem_->setChecked(!lineBreakItem_->isChecked());
        mnuOpItem_Click(static_cast<std::int16_t>(OptionItem::LineBreak));
    });

    mnuHelp_ = AddMenu(window, QStringLiteral("mnuHelp"), QStringLiteral("ヘルプ(&H)"));
    const QString help = QStringLiteral("mnuHelpItem");
    readMeItem_ = AddItem(*mnuHelp_, help, HelpItem::ReadMe, QStringLiteral("ReadMeを開く(&R)..."),
                          *this, &MainMenus::mnuHelpItem_Click);
    AddItem(*mnuHelp_, help, HelpItem::HomePage, QStringLiteral("作者のHPへ(&H)"), *this,
            &MainMenus::mnuHelpItem_Click);
    AddItem(*mnuHelp_, help, HelpItem::Version, QStringLiteral("バージョン情報(&V)..."), *this,
            &MainMenus::mnuHelpItem_Click);
    QAction* separator = AddItem(*mnuHelp_, help, HelpItem::UpdateSeparator, QStringLiteral("-"),
                                 *this, &MainMenus::mnuHelpItem_Click);
    separator->setSeparator(true);
    separator->setVisible(false);
    AddItem(*mnuHelp_, help, HelpItem::Update, QStringLiteral("自動更新(&U)..."), *this,
            &MainMenus::mnuHelpItem_Click)
        ->setVisible(false);
    connect(mnuHelp_, &QMenu::aboutToShow, this, &MainMenus::mnuHelp_Click);
}

bool MainMenus::LineBreakOption() const {
    return lineBreakItem_->isChecked();
}

void MainMenus::SetLineBreakOption(bool on) {
    lineBreakItem_->setChecked(on);
}

void MainMenus::mnuFileItem_Click(std::int16_t Index) {
    if (static_cast<FileItem>(Index) == FileItem::Exit) {
        window_.close();  // the window saves its settings as it closes
    }
}

void MainMenus::mnuOpItem_Click(std::int16_t Index) {
    if (static_cast<OptionItem>(Index) == OptionItem::LineBreak) {
        lineBreakItem_->setChecked(!lineBreakItem_->isChecked());
    }
}

// The read-me file may come and go while the program runs, so it is looked for each time.
void MainMenus::mnuHelp_Click() {
    readMeItem_->setEnabled(QFileInfo::exists(readMe_));
}

void MainMenus::mnuHelpItem_Click(std::int16_t Index) {
    const std::u16string derive(kDeriveDirectory);
    switch (static_cast<HelpItem>(Index)) {
        case HelpItem::ReadMe:
            // It may have gone since the menu was opened.
            if (QFileInfo::exists(readMe_)) {
                shellExecute_(readMe_.toStdU16String(), derive);
            }
            break;
        case HelpItem::HomePage:
            shellExecute_(std::u16string(kHomePageAddress), derive);
            break;
        case HelpItem::Version:
            showMessage_(&window_, ToQString(kApplicationTitle),
                         ToQString(fVersionText(kApplicationTitle, kVersionMajor, kVersionMinor,
                                                kVersionRevision, kAuthorName)));
            break;
        default:
            break;
    }
}

}  // namespace zelkora
