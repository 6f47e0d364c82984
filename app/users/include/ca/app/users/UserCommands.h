#pragma once
// Connects the main window's "用户权限" and "修改密码" to their windows, and runs the optional log-in
// that reveals them.
#include "ca/db/TDM.h"
#include "ca/users/CurrentUser.h"
#include "ca/util/Prompts.h"

namespace ca::app {

class TfrmMain;

// prompts, dm and user must live as long as the main window.
void installUserCommands(TfrmMain& frmMain, Prompts& prompts, db::TDM& dm, const users::CurrentUser& user);

// When config.ini asks for it, shows the log-in dialog over the main window; a successful log-in makes
// the user current and reveals his menu items. Without the setting, or on "取消", nothing changes.
// Run after the main window was first shown, so that the database opens where it always does.
void offerLogIn(TfrmMain& frmMain, Prompts& prompts, db::TDM& dm, users::CurrentUser& user);

}  // namespace ca::app
