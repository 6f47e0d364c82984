#include "ca/app/users/MenuReveal.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace ca::app {

void revealMenus(QMainWindow& mainWindow, const users::MenuAccess& access) {
    // Only the menu bar: the pop-up menus of other windows reuse item names such as "N4".
    QMenuBar* bar = mainWindow.menuBar();
    const struct {
        const char* item;
        bool shown;
    } items[] = {
        {"N4", access.feeEntry},       {"Nfycx", access.feeQuery}, {"Nchpass", access.changePassword},
        {"Nlimit", access.userRights}, {"N7", access.addFeeItem},
    };
    for (const auto& i : items) {
        if (!i.shown) continue;
        if (auto* action = bar->findChild<QAction*>(i.item)) action->setVisible(true);
    }
    if (access.changePassword || access.userRights || access.addFeeItem) {
        if (auto* menu = bar->findChild<QMenu*>("N6")) menu->menuAction()->setVisible(true);
    }
}

}  // namespace ca::app
