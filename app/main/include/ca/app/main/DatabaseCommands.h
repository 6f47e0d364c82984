#pragma once
// Connects the main window's commands that work on the local database alone.
#include "ca/app/main/TfrmMain.h"
#include "ca/db/TDM.h"

namespace ca::app {

// shanchu1Click: empties the declaration data of dm (the menu item stays hidden).
void connectDatabaseCommands(TfrmMain& window, db::TDM& dm);

}  // namespace ca::app
