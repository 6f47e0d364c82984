#pragma once
// Shows the hidden menu items of the main window that a logged-in user may use (users::MenuAccess).
// Items are found by their names; the "用户管理" menu shows as soon as one of its items does. Nothing
// is ever hidden here, and the delete-all item is never touched.
#include "ca/users/MenuAccess.h"

class QMainWindow;

namespace ca::app {

void revealMenus(QMainWindow& mainWindow, const users::MenuAccess& access);

}  // namespace ca::app
