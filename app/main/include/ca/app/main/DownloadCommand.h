#pragma once
// The download command of the main window ("下载详细数据" under "下载数据", and the toolbar button
// "下载数据"): the window hosts the download driver, which stores into the program's database.
#include "ca/app/main/TfrmMain.h"
#include "ca/automation/Desktop.h"
#include "ca/db/TDM.h"

namespace ca::app {

// Runs one download while the window is busy: other commands, drops and the close box are disabled,
// a Stop button ends the walk between two rows, the log and the progress figure ("第 n 行  报关单 d
// 商品 g") update while the download waits for the client. Errors reach the window's command guard
// after the window is idle again; what was stored before stays stored.
void runDownload(TfrmMain& window, automation::Desktop& desktop, db::TDM& dm);

// Connects the download command (N2Click) to the client on the desktop and the database.
void installDownloadCommand(TfrmMain& window, automation::Desktop& desktop, db::TDM& dm);

}  // namespace ca::app
