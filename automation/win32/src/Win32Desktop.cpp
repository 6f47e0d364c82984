// The ANSI entry points are used throughout: texts cross as the system code page's bytes.
#ifdef UNICODE
#undef UNICODE
#endif
#ifdef _UNICODE
#undef _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include "ca/automation/win32/Win32Desktop.h"

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>
// clang-format on

#include <cstddef>
#include <cstring>
#include <string>

#include "ca/automation/LvItem.h"
#include "ca/util/Gbk.h"

namespace ca::automation::win32 {

// The record written into the client is built by encodeLvItem; for a client of our own bitness it
// must match the platform's own LVITEMA, member for member.
#ifdef _WIN64
static_assert(offsetof(LVITEMA, iSubItem) == offsetof(LvItem64, iSubItem));
static_assert(offsetof(LVITEMA, state) == offsetof(LvItem64, state));
static_assert(offsetof(LVITEMA, stateMask) == offsetof(LvItem64, stateMask));
static_assert(offsetof(LVITEMA, pszText) == offsetof(LvItem64, pszText));
static_assert(offsetof(LVITEMA, cchTextMax) == offsetof(LvItem64, cchTextMax));
static_assert(offsetof(LVITEMA, iIndent) == offsetof(LvItem64, iIndent));
#else
static_assert(offsetof(LVITEMA, iSubItem) == offsetof(LvItem32, iSubItem));
static_assert(offsetof(LVITEMA, state) == offsetof(LvItem32, state));
static_assert(offsetof(LVITEMA, stateMask) == offsetof(LvItem32, stateMask));
static_assert(offsetof(LVITEMA, pszText) == offsetof(LvItem32, pszText));
static_assert(offsetof(LVITEMA, cchTextMax) == offsetof(LvItem32, cchTextMax));
static_assert(offsetof(LVITEMA, iIndent) == offsetof(LvItem32, iIndent));
// The snapshot entry record of a 32-bit program is 296 bytes.
static_assert(sizeof(PROCESSENTRY32) == 296);
#endif
static_assert(LVM_GETITEMTEXTA == LvmGetItemTextA && LVM_SETITEMSTATE == LvmSetItemState);
static_assert(WM_SETTEXT == WmSetText && WM_GETTEXT == WmGetText && WM_PASTE == WmPaste);
static_assert(EM_SETSEL == EmSetSel && EM_SETREADONLY == EmSetReadOnly && SC_RESTORE == ScRestore);
static_assert(WM_LBUTTONDOWN == WmLButtonDown && WM_LBUTTONUP == WmLButtonUp && WM_SETFOCUS == WmSetFocus);
static_assert(WM_KEYDOWN == WmKeyDown && WM_KEYUP == WmKeyUp && WM_COMMAND == WmCommand);
static_assert(WM_SYSCOMMAND == WmSysCommand && VK_RETURN == VkReturn);
static_assert(LVIS_FOCUSED == LvisFocused && LVIS_SELECTED == LvisSelected);
static_assert((PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE) == ListViewProcessAccess);

namespace {

::HWND hwnd(HWnd w) {
    return reinterpret_cast<::HWND>(w);
}
HWnd handle(::HWND w) {
    return reinterpret_cast<HWnd>(w);
}
::HANDLE process(ProcessHandle h) {
    return reinterpret_cast<::HANDLE>(h);
}
void* pointer(RemoteAddress at) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(at));
}

BOOL CALLBACK collect(::HWND w, LPARAM list) {
    reinterpret_cast<std::vector<HWnd>*>(list)->push_back(handle(w));
    return TRUE;
}

// Copies bytes and a zero terminator of terminatorSize bytes into global memory and hands it to the
// open clipboard, which owns it from then on.
bool placeOnClipboard(UINT format, const void* data, std::size_t size, std::size_t terminatorSize) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + terminatorSize);
    if (!memory) return false;
    void* p = GlobalLock(memory);
    if (!p) {
        GlobalFree(memory);
        return false;
    }
    if (size) std::memcpy(p, data, size);
    GlobalUnlock(memory);
    if (SetClipboardData(format, memory)) return true;
    GlobalFree(memory);
    return false;
}

bool isWow64(::HANDLE h) {
    BOOL wow = FALSE;
    return IsWow64Process(h, &wow) && wow;
}

}  // namespace

Win32Desktop::~Win32Desktop() {
    if (clipboardOwner_) DestroyWindow(hwnd(clipboardOwner_));
}

std::vector<HWnd> Win32Desktop::topLevelWindows() {
    std::vector<HWnd> list;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&list));
    return list;
}

Pid Win32Desktop::windowProcessId(HWnd w) {
    DWORD pid = 0;
    if (w && GetWindowThreadProcessId(hwnd(w), &pid) == 0) return 0;
    return static_cast<Pid>(pid);
}

bool Win32Desktop::isWindowVisible(HWnd w) {
    return w && IsWindowVisible(hwnd(w));
}

bool Win32Desktop::isWindowEnabled(HWnd w) {
    return w && IsWindowEnabled(hwnd(w));
}

std::string Win32Desktop::windowClassName(HWnd w) {
    char buffer[256] = {};
    const int n = w ? GetClassNameA(hwnd(w), buffer, sizeof buffer) : 0;
    return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

HWnd Win32Desktop::findChildWindow(HWnd parent, std::string_view className) {
    const std::string name(className);
    return handle(FindWindowExA(hwnd(parent), nullptr, name.c_str(), nullptr));
}

HWnd Win32Desktop::nextSiblingWindow(HWnd w) {
    return w ? handle(GetWindow(hwnd(w), GW_HWNDNEXT)) : 0;
}

std::vector<HWnd> Win32Desktop::descendantWindows(HWnd parent) {
    std::vector<HWnd> list;
    EnumChildWindows(hwnd(parent), collect, reinterpret_cast<LPARAM>(&list));
    return list;
}

LResult Win32Desktop::sendMessage(HWnd w, Message msg, WParam wParam, LParam lParam) {
    // A message to no window does nothing (the platform would fail it as well).
    return w ? SendMessageA(hwnd(w), msg, wParam, lParam) : 0;
}

bool Win32Desktop::postMessage(HWnd w, Message msg, WParam wParam, LParam lParam) {
    // The platform posts a message for window 0 to our own thread; here it does nothing.
    return w && PostMessageA(hwnd(w), msg, wParam, lParam);
}

HMenu Win32Desktop::windowMenu(HWnd w) {
    return w ? reinterpret_cast<HMenu>(GetMenu(hwnd(w))) : 0;
}

HMenu Win32Desktop::subMenu(HMenu menu, int position) {
    return menu ? reinterpret_cast<HMenu>(GetSubMenu(reinterpret_cast<::HMENU>(menu), position)) : 0;
}

std::uint32_t Win32Desktop::menuItemId(HMenu menu, int position) {
    return menu ? static_cast<std::uint32_t>(GetMenuItemID(reinterpret_cast<::HMENU>(menu), position))
                : NoMenuItemId;
}

std::vector<ProcessEntry> Win32Desktop::processSnapshot() {
    std::vector<ProcessEntry> list;
    ::HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return list;
    PROCESSENTRY32 entry;
    std::memset(&entry, 0, sizeof entry);
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        entry.szExeFile[sizeof entry.szExeFile - 1] = '\0';
        list.push_back({entry.szExeFile, static_cast<Pid>(entry.th32ProcessID)});
    }
    CloseHandle(snapshot);
    return list;
}

ProcessHandle Win32Desktop::openProcess(Pid pid, std::uint32_t access) {
    if (pid == 0) return 0;
    auto h = reinterpret_cast<ProcessHandle>(OpenProcess(access, FALSE, pid));
    if (h) opened_[h] = pid;
    return h;
}

void Win32Desktop::closeProcess(ProcessHandle h) {
    if (!h) return;
    opened_.erase(h);
    CloseHandle(process(h));
}

Bitness Win32Desktop::processBitness(ProcessHandle h) {
    // A process under the 32-bit layer of a 64-bit system is 32-bit. Otherwise it has the
    // system's width: 64-bit when we are 64-bit or are ourselves under that layer.
    // IsWow64Process needs the query right, which the list-view access mask (56) does not hold:
    // the question goes through a handle of its own.
    bool wow = false;
    auto found = opened_.find(h);
    ::HANDLE query = found == opened_.end()
                         ? nullptr
                         : OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, found->second);
    if (query) {
        wow = isWow64(query);
        CloseHandle(query);
    } else if (h) {
        wow = isWow64(process(h));
    }
    if (wow) return Bitness::Bits32;
#ifdef _WIN64
    return Bitness::Bits64;
#else
    return isWow64(GetCurrentProcess()) ? Bitness::Bits64 : Bitness::Bits32;
#endif
}

RemoteAddress Win32Desktop::allocateRemote(ProcessHandle h, std::size_t size) {
    if (!h) return 0;
    return reinterpret_cast<std::uintptr_t>(
        VirtualAllocEx(process(h), nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
}

bool Win32Desktop::writeRemote(ProcessHandle h, RemoteAddress at, const void* data, std::size_t size) {
    SIZE_T done = 0;
    return h && at && WriteProcessMemory(process(h), pointer(at), data, size, &done) && done == size;
}

bool Win32Desktop::readRemote(ProcessHandle h, RemoteAddress at, void* data, std::size_t size) {
    SIZE_T done = 0;
    return h && at && ReadProcessMemory(process(h), pointer(at), data, size, &done) && done == size;
}

bool Win32Desktop::decommitRemote(ProcessHandle h, RemoteAddress at, std::size_t size) {
    return h && at && VirtualFreeEx(process(h), pointer(at), size, MEM_DECOMMIT);
}

bool Win32Desktop::releaseRemote(ProcessHandle h, RemoteAddress at) {
    return h && at && VirtualFreeEx(process(h), pointer(at), 0, MEM_RELEASE);
}

HWnd Win32Desktop::clipboardOwner() {
    // With no owner window EmptyClipboard leaves the clipboard without owner and SetClipboardData
    // may fail; a message-only window of our own owns it instead.
    if (!clipboardOwner_) {
        clipboardOwner_ = handle(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                                 GetModuleHandleA(nullptr), nullptr));
    }
    return clipboardOwner_;
}

bool Win32Desktop::trySetClipboardText(std::string_view text) {
    if (!OpenClipboard(hwnd(clipboardOwner()))) return false;
    bool placed = false;
    if (EmptyClipboard()) {
        // The ANSI text, and the same text as UTF-16: a Unicode edit then pastes the characters
        // themselves instead of a conversion made with whatever keyboard locale is active.
        const std::string utf8 = gbkToUtf8(text);
        std::wstring wide;
        if (!utf8.empty()) {
            const int n =
                MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
            wide.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
            if (n > 0)
                MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
        }
        placed =
            placeOnClipboard(CF_TEXT, text.data(), text.size(), 1) &&
            placeOnClipboard(CF_UNICODETEXT, wide.data(), wide.size() * sizeof(wchar_t), sizeof(wchar_t));
    }
    CloseClipboard();
    return placed;
}

}  // namespace ca::automation::win32
