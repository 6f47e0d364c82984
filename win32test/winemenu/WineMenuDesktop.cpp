#include "WineMenuDesktop.h"

#include <windows.h>

#include "StandinMenu.h"

namespace ca::win32test {

bool runningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

WineMenuDesktop::WineMenuDesktop(automation::Desktop& real) : real_(real) {
    if (runningUnderWine()) copy_ = reinterpret_cast<automation::HMenu>(buildClientMenuBar());
}

WineMenuDesktop::~WineMenuDesktop() {
    if (copy_) DestroyMenu(reinterpret_cast<HMENU>(copy_));
}

automation::HMenu WineMenuDesktop::windowMenu(automation::HWnd w) {
    automation::HMenu menu = real_.windowMenu(w);
    if (!copy_ || menu == 0 || real_.windowProcessId(w) == GetCurrentProcessId()) return menu;
    ++mirrored_;
    return copy_;
}

}  // namespace ca::win32test
