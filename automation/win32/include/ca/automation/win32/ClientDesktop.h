#pragma once
// The desktop a Windows program drives the customs client on: the Win32 desktop, with the system
// timer ticking every millisecond while it is open. Windows otherwise ends a sleep only at its next
// 15.6 ms tick, which would lengthen every pause between two messages to the client by 8 ms on
// average (a download's 300 and 160 ms waits by 3 to 5 %). Both the command-line tool and the
// window program open it.
//
// Under Wine, which answers no menu queries about another process's menus, the menu walk can be
// answered from a copy of the client's menu bar (WineMenuDesktop): the DLL that the environment
// variable CA_WINE_CLIENT_MENU names builds it in this process through its exported function
// caClientMenuBar (HMENU __cdecl caClientMenuBar(void)). Only a run under Wine looks at the
// variable; on Windows the client's own menus are walked.
#include <memory>

#include "ca/automation/Desktop.h"

namespace ca::automation::win32 {

std::shared_ptr<Desktop> openClientDesktop();

}  // namespace ca::automation::win32
