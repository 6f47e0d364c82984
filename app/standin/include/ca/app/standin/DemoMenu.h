#pragma once
// The main window's menu of the demo build: "演示" with "启动模拟海关录入程序", which shows the
// stand-in client's window and starts the client again after its window was closed. The Windows
// build, which drives the real client, has no such menu.
#include <functional>

#include "ca/util/Prompts.h"

class QAction;
class QMenuBar;
class QRect;

namespace ca::app {

class DemoClient;

// Adds the menu to the bar before the given item (the menu bar's own "退出系统"; nullptr: at the end).
// beside gives the frame the client's window opens next to. The item runs inside the command guard.
void addDemoMenu(QMenuBar& bar, QAction* before, DemoClient& demo, Prompts& prompts,
                 std::function<QRect()> beside);

}  // namespace ca::app
