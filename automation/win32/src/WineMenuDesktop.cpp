#include "ca/automation/win32/WineMenuDesktop.h"

#include <windows.h>

namespace ca::automation::win32 {

bool runningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

WineMenuDesktop::WineMenuDesktop(automation::Desktop& real, automation::HMenu copy)
    : real_(real), copy_(copy) {}

WineMenuDesktop::~WineMenuDesktop() {
    if (copy_) DestroyMenu(reinterpret_cast<HMENU>(copy_));
}

automation::HMenu WineMenuDesktop::windowMenu(automation::HWnd w) {
    automation::HMenu menu = real_.windowMenu(w);
    if (!copy_ || menu == 0 || real_.windowProcessId(w) == GetCurrentProcessId()) return menu;
    ++mirrored_;
    return copy_;
}

}  // namespace ca::automation::win32
