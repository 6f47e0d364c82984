// ca_gui_driver.exe: the clerk's hands for scripts/test-windows-gui. Each run does one thing through
// the system's input or window list and ends; the script strings the runs together.
//   click X Y | dblclick X Y        left click / double click at screen coordinates
//   key NAME...                     keys, e.g. enter esc tab down alt ctrl+a alt+f4
//   type TEXT                       types the text (any characters)
//   dialog SECONDS                  waits for a system dialog (class #32770: the file dialogs) and
//                                   brings it to the front; prints its title
//   nodialog SECONDS                waits until no system dialog is shown
//   raise TITLE SECONDS             waits for a visible top-level window with that title and brings
//                                   it to the front; prints its frame "x y w h"
//   move TITLE X Y                  moves that window's frame to X Y
//   windows                         lists the visible top-level windows (class, title, frame)
// Exit status 0 on success, 1 when the wait ran out or nothing matched, 2 on bad use. Texts are
// UTF-8 on the command line's wide form and on standard output.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "ca/util/Folders.h"

namespace {

// Window titles as UTF-8: the project's one wide-to-UTF-8 conversion (a path's).
std::string utf8(const std::wstring& w) {
    return ca::pathToUtf8(std::filesystem::path(w));
}

void print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::wstring windowText(HWND w) {
    wchar_t buffer[512] = {};
    GetWindowTextW(w, buffer, 512);
    return buffer;
}

std::wstring className(HWND w) {
    wchar_t buffer[256] = {};
    GetClassNameW(w, buffer, 256);
    return buffer;
}

std::vector<HWND> visibleTopLevels() {
    std::vector<HWND> found;
    EnumWindows(
        [](HWND w, LPARAM out) -> BOOL {
            if (IsWindowVisible(w)) reinterpret_cast<std::vector<HWND>*>(out)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

template <class Match>
HWND waitFor(Match match, double seconds) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    for (;;) {
        for (HWND w : visibleTopLevels())
            if (match(w)) return w;
        if (GetTickCount64() >= end) return nullptr;
        Sleep(50);
    }
}

void bringToFront(HWND w) {
    // A click on the window's own frame area is not needed: Wine lets any process take the front.
    ShowWindow(w, SW_SHOWNORMAL);
    SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(w);
    Sleep(100);
}

void sendInputs(std::vector<INPUT> inputs) {
    for (INPUT& in : inputs) {
        SendInput(1, &in, sizeof(INPUT));
        Sleep(15);  // each as its own event, as a hand makes them
    }
}

INPUT mouse(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    return in;
}

void clickAt(int x, int y, int times) {
    SetCursorPos(x, y);
    Sleep(50);
    for (int i = 0; i < times; ++i)
        sendInputs({mouse(MOUSEEVENTF_LEFTDOWN), mouse(MOUSEEVENTF_LEFTUP)});
}

INPUT keyInput(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN || vk == VK_HOME || vk == VK_END ||
        vk == VK_DELETE)
        in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    return in;
}

WORD keyCode(const std::wstring& name) {
    struct Named {
        const wchar_t* name;
        WORD vk;
    } const names[] = {
        {L"enter", VK_RETURN},  {L"esc", VK_ESCAPE}, {L"tab", VK_TAB},   {L"space", VK_SPACE},
        {L"down", VK_DOWN},     {L"up", VK_UP},      {L"left", VK_LEFT}, {L"right", VK_RIGHT},
        {L"home", VK_HOME},     {L"end", VK_END},    {L"alt", VK_MENU},  {L"ctrl", VK_CONTROL},
        {L"shift", VK_SHIFT},   {L"f4", VK_F4},      {L"f10", VK_F10},   {L"backspace", VK_BACK},
        {L"delete", VK_DELETE},
    };
    for (const Named& n : names)
        if (name == n.name) return n.vk;
    if (name.size() == 1 && ((name[0] >= L'a' && name[0] <= L'z') || (name[0] >= L'0' && name[0] <= L'9')))
        return static_cast<WORD>(std::towupper(name[0]));
    return 0;
}

// "ctrl+a": the modifiers held around the last key.
bool pressKeys(const std::wstring& combo) {
    std::vector<WORD> keys;
    std::size_t start = 0;
    while (start <= combo.size()) {
        std::size_t plus = combo.find(L'+', start);
        if (plus == std::wstring::npos) plus = combo.size();
        WORD vk = keyCode(combo.substr(start, plus - start));
        if (!vk) return false;
        keys.push_back(vk);
        start = plus + 1;
    }
    std::vector<INPUT> inputs;
    for (WORD vk : keys)
        inputs.push_back(keyInput(vk, false));
    for (auto it = keys.rbegin(); it != keys.rend(); ++it)
        inputs.push_back(keyInput(*it, true));
    sendInputs(inputs);
    return true;
}

void typeText(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        for (bool up : {false, true}) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wScan = c;
            in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            inputs.push_back(in);
        }
    }
    sendInputs(inputs);
}

std::string frame(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
           " " + std::to_string(r.bottom - r.top);
}

bool isDialog(HWND w) {
    return className(w) == L"#32770";
}

int usage() {
    std::fputs(
        "usage: ca_gui_driver click X Y | dblclick X Y | key NAME... | type TEXT | dialog SECONDS | "
        "nodialog SECONDS | raise TITLE SECONDS | move TITLE X Y | windows\n",
        stderr);
    return 2;
}

int run(const std::vector<std::wstring>& a) {
    if (a.empty()) return usage();
    const std::wstring& command = a[0];
    if ((command == L"click" || command == L"dblclick") && a.size() == 3) {
        clickAt(std::stoi(a[1]), std::stoi(a[2]), command == L"click" ? 1 : 2);
        return 0;
    }
    if (command == L"key" && a.size() >= 2) {
        for (std::size_t i = 1; i < a.size(); ++i) {
            if (!pressKeys(a[i])) return usage();
            Sleep(60);
        }
        return 0;
    }
    if (command == L"type" && a.size() == 2) {
        typeText(a[1]);
        return 0;
    }
    if (command == L"dialog" && a.size() == 2) {
        HWND w = waitFor([](HWND h) { return isDialog(h) && IsWindowEnabled(h); }, std::stod(a[1]));
        if (!w) return 1;
        bringToFront(w);
        print(utf8(windowText(w)));
        return 0;
    }
    if (command == L"nodialog" && a.size() == 2) {
        const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(std::stod(a[1]) * 1000);
        for (;;) {
            bool shown = false;
            for (HWND w : visibleTopLevels())
                shown = shown || isDialog(w);
            if (!shown) return 0;
            if (GetTickCount64() >= end) return 1;
            Sleep(50);
        }
    }
    if (command == L"raise" && a.size() == 3) {
        const std::wstring title = a[1];
        HWND w = waitFor([&](HWND h) { return windowText(h) == title; }, std::stod(a[2]));
        if (!w) return 1;
        bringToFront(w);
        print(frame(w));
        return 0;
    }
    if (command == L"move" && a.size() == 4) {
        const std::wstring title = a[1];
        HWND w = waitFor([&](HWND h) { return windowText(h) == title; }, 0);
        if (!w) return 1;
        SetWindowPos(w, nullptr, std::stoi(a[2]), std::stoi(a[3]), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        print(frame(w));
        return 0;
    }
    if (command == L"windows" && a.size() == 1) {
        for (HWND w : visibleTopLevels())
            print(utf8(className(w)) + "\t" + utf8(windowText(w)) + "\t" + frame(w));
        return 0;
    }
    return usage();
}

}  // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    LocalFree(argv);
    try {
        return run(args);
    } catch (const std::exception&) {
        return usage();
    }
}
