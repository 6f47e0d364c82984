#pragma once
// The one place that knows every window of the program: which window each menu command of the main
// window opens, and which window plays each role another window asks for (WindowRoles.h). The
// feature folders know only their own windows and the roles.
namespace ca::app {

class TfrmMain;
class Windows;

// Which window plays each role.
void provideWindowRoles(Windows& windows);

// The roles, and the menu commands that open a window: 单据查询, 生成业务数据, 费用录入, 费用查询,
// 增加费用项, 用户权限, 修改密码. (设置 belongs to the main window itself.)
void installWindows(TfrmMain& frmMain);

// When config.ini asks for it, shows the log-in dialog over the main window; a successful log-in makes
// the user current and reveals his menu items. Without the setting, or on "取消", nothing changes.
// Run after the main window was first shown, so that the database opens where it always does.
void offerLogIn(TfrmMain& frmMain);

}  // namespace ca::app
