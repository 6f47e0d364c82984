#pragma once
// The stand-in client's menu bar, the same as the simulated client's: eight menus of four items;
// the item at top position 7, item position 2 closes the declaration form. The test driver builds
// the same bar in its own process to check the menu command by position.
#include <windows.h>

namespace ca::win32test {

// A new menu bar; the caller attaches it with SetMenu or CreateWindowEx (the window then owns it).
HMENU buildClientMenuBar();

}  // namespace ca::win32test
