#include "ca/automation/win32/ClientDesktop.h"

#include <windows.h>

#include <mmsystem.h>

#include <string>

#include "ca/automation/win32/Win32Desktop.h"
#include "ca/automation/win32/WineMenuDesktop.h"

namespace ca::automation::win32 {

namespace {

// The menu bar copy from the DLL CA_WINE_CLIENT_MENU names, under Wine only; 0 otherwise or when
// the DLL or its function is missing (the menu walk then fails as it would without the copy).
HMenu wineClientMenuBar() {
    if (!runningUnderWine()) return 0;
    const DWORD size = GetEnvironmentVariableW(L"CA_WINE_CLIENT_MENU", nullptr, 0);
    if (size == 0) return 0;
    std::wstring dll(size, L'\0');
    dll.resize(GetEnvironmentVariableW(L"CA_WINE_CLIENT_MENU", dll.data(), size));
    // Stays loaded for the life of the process: the copy's texts are this process's own.
    HMODULE module = LoadLibraryW(dll.c_str());
    if (!module) return 0;
    using BuildMenuBar = HMENU(__cdecl*)();
    auto build =
        reinterpret_cast<BuildMenuBar>(reinterpret_cast<void*>(GetProcAddress(module, "caClientMenuBar")));
    return build ? reinterpret_cast<HMenu>(build()) : 0;
}

struct ClientDesktop {
    ClientDesktop() { fineTimer = timeBeginPeriod(1) == TIMERR_NOERROR; }
    ~ClientDesktop() {
        if (fineTimer) timeEndPeriod(1);
    }
    ClientDesktop(const ClientDesktop&) = delete;
    ClientDesktop& operator=(const ClientDesktop&) = delete;

    bool fineTimer = false;
    Win32Desktop real;
    WineMenuDesktop desktop{real, wineClientMenuBar()};
};

}  // namespace

std::shared_ptr<Desktop> openClientDesktop() {
    auto holder = std::make_shared<ClientDesktop>();
    return std::shared_ptr<Desktop>(holder, &holder->desktop);
}

}  // namespace ca::automation::win32
