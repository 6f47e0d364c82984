#pragma once
// The desktop a Windows program drives the customs client on: the Win32 desktop, with the menu walk
// answered from the stand-in's menu bar under Wine (WineMenuDesktop), and the system timer ticking
// every millisecond while it is open. Windows otherwise ends a sleep only at its next 15.6 ms tick,
// which would lengthen every pause between two messages to the client by 8 ms on average (a
// download's 300 and 160 ms waits by 3 to 5 %). Both the command-line tool and the window program
// open it.
#include <memory>

#include "ca/automation/Desktop.h"

namespace ca::win32test {

std::shared_ptr<automation::Desktop> openClientDesktop();

}  // namespace ca::win32test
