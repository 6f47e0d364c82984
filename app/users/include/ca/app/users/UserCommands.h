#pragma once
// Connects the main window's "用户权限" and "修改密码" to their windows, and runs the optional log-in
// that reveals them.
namespace ca::app {

class TfrmMain;

void installUserCommands(TfrmMain& frmMain);

// When config.ini asks for it, shows the log-in dialog over the main window; a successful log-in makes
// the user current and reveals his menu items. Without the setting, or on "取消", nothing changes.
// Run after the main window was first shown, so that the database opens where it always does.
void offerLogIn(TfrmMain& frmMain);

}  // namespace ca::app
