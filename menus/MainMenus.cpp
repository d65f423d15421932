#include "menus/MainMenus.h"

#include <QAction>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <utility>

#include "common/AppInfo.h"
#include "common/QtConversions.h"
#include "menus/MenusLogic.h"

namespace zelkora {
namespace {

QMenu* AddMenu(QMainWindow& window, const QString& name, const QString& caption) {
    QMenu* menu = window.menuBar()->addMenu(caption);
    menu->setObjectName(name);
    return menu;
}

// Items are named after their menu's item array and their fixed index ("mnuHelpItem2"), the
// index being what the handler is given.
QAction* AddItem(QMenu& menu, const QString& array, std::int16_t index, const QString& caption,
                 MainMenus& menus, void (MainMenus::*handler)(std::int16_t)) {
    QAction* item = menu.addAction(caption);
    item->setObjectName(array + QString::number(index));
    QObject::connect(item, &QAction::triggered, &menus,
                     [&menus, handler, index] { (menus.*handler)(index); });
    return item;
}

}  // namespace

MainMenus::MainMenus(QMainWindow& window, QString programFolder, MessageBoxFunction showMessage,
                     ShellExecuteFunction shellExecute)
    : QObject(&window),
      window_(window),
      programFolder_(std::move(programFolder)),
      showMessage_(std::move(showMessage)),
      shellExecute_(std::move(shellExecute)) {
    QMenu* mnuFile = AddMenu(window, QStringLiteral("mnuFile"), QStringLiteral("ファイル(&F)"));
    AddItem(*mnuFile, QStringLiteral("mnuFileItem"), 99, QStringLiteral("終了(&X)"), *this,
            &MainMenus::mnuFileItem_Click);

    QMenu* mnuOp = AddMenu(window, QStringLiteral("mnuOp"), QStringLiteral("オプション(&O)"));
    lineBreakItem_ = mnuOp->addAction(QStringLiteral("\\nは改行に変換(&N)"));
    lineBreakItem_->setObjectName(QStringLiteral("mnuOpItem1"));
    lineBreakItem_->setCheckable(true);
    // A checkable action flips its own mark before it reports the choice; that flip is undone
    // so that the handler alone decides, as it does when called directly.
    connect(lineBreakItem_, &QAction::triggered, this, [this] {
        lineBreakItem_->setChecked(!lineBreakItem_->isChecked());
        mnuOpItem_Click(1);
    });

    mnuHelp_ = AddMenu(window, QStringLiteral("mnuHelp"), QStringLiteral("ヘルプ(&H)"));
    const QString help = QStringLiteral("mnuHelpItem");
    readMeItem_ = AddItem(*mnuHelp_, help, 0, QStringLiteral("ReadMeを開く(&R)..."), *this,
                          &MainMenus::mnuHelpItem_Click);
    AddItem(*mnuHelp_, help, 1, QStringLiteral("作者のHPへ(&H)"), *this,
            &MainMenus::mnuHelpItem_Click);
    AddItem(*mnuHelp_, help, 2, QStringLiteral("バージョン情報(&V)..."), *this,
            &MainMenus::mnuHelpItem_Click);
    // Kept for an update command that does not exist yet; neither item is ever shown.
    QAction* separator =
        AddItem(*mnuHelp_, help, 98, QStringLiteral("-"), *this, &MainMenus::mnuHelpItem_Click);
    separator->setSeparator(true);
    separator->setVisible(false);
    AddItem(*mnuHelp_, help, 99, QStringLiteral("自動更新(&U)..."), *this,
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

QString MainMenus::ReadMePath() const {
    return programFolder_ + QLatin1Char('/') + ToQString(kReadMeName);
}

void MainMenus::mnuFileItem_Click(std::int16_t Index) {
    if (Index == 99) {
        window_.close();  // the window saves its settings as it closes
    }
}

void MainMenus::mnuOpItem_Click(std::int16_t Index) {
    if (Index == 1) {
        lineBreakItem_->setChecked(!lineBreakItem_->isChecked());
    }
}

// The read-me file may come and go while the program runs, so it is looked for each time.
void MainMenus::mnuHelp_Click() {
    readMeItem_->setEnabled(QFileInfo::exists(ReadMePath()));
}

void MainMenus::mnuHelpItem_Click(std::int16_t Index) {
    const std::u16string derive(kDeriveDirectory);
    switch (Index) {
        case 0:
            // It may have gone since the menu was opened.
            if (QFileInfo::exists(ReadMePath())) {
                shellExecute_(&window_, ReadMePath().toStdU16String(), {}, derive);
            }
            break;
        case 1:
            shellExecute_(&window_, std::u16string(kHomePageAddress), {}, derive);
            break;
        case 2:
            showMessage_(&window_, ToQString(kApplicationTitle),
                         ToQString(fVersionText(kApplicationTitle, kVersionMajor, kVersionMinor,
                                                kVersionRevision, kAuthorName)));
            break;
        default:
            break;
    }
}

}  // namespace zelkora
