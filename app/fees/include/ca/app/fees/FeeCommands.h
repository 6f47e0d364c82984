#pragma once
// Connects the main window's fee menu items ("费用录入", "费用查询", "增加费用项"; hidden unless the
// log-in shows them) to the fee windows.
namespace ca::app {

class TfrmMain;

void installFeeCommands(TfrmMain& frmMain);

}  // namespace ca::app
