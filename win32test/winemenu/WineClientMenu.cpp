// The DLL that gives a Windows program under Wine a copy of the stand-in client's menu bar (see
// automation/win32/include/ca/automation/win32/ClientDesktop.h): only the Wine runs of the tests and
// the window program's proof name it in CA_WINE_CLIENT_MENU; the release neither holds nor loads it.
#include <windows.h>

#include "StandinMenu.h"

extern "C" __declspec(dllexport) HMENU __cdecl caClientMenuBar() {
    return ca::win32test::buildClientMenuBar();
}
