// Windows: the wide command line, a UTF-8 console, the Win32 desktop and Ctrl+C as the Stop button.
#include <windows.h>

#include <mmsystem.h>
#include <shellapi.h>

#include <atomic>

#include "CliPlatform.h"
#include "CliRegistry.h"
#include "WineMenuDesktop.h"
#include "ca/automation/win32/Win32Desktop.h"
#include "ca/util/Folders.h"

namespace ca::cli {

namespace {

std::atomic<download::StopFlag*> interruptTarget{nullptr};

BOOL WINAPI onConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    download::StopFlag* stop = interruptTarget.load();
    if (!stop) return FALSE;  // nothing to stop: the default handling ends the program
    stop->request();
    return TRUE;
}

// The Win32 desktop. Under Wine the menu bar of another process cannot be walked (Wine answers no
// menu queries across processes); there the walk answers from a copy of the demo stand-in's menu
// bar, the only client that runs under Wine. On Windows nothing is replaced.
//
// While it is open the system timer ticks every millisecond: Windows otherwise ends a sleep only at
// its next 15.6 ms tick, which would lengthen every pause between two messages to the client by
// 8 ms on average (a download's 300 and 160 ms waits by 3 to 5 %).
struct ClientDesktop {
    ClientDesktop() { fineTimer = timeBeginPeriod(1) == TIMERR_NOERROR; }
    ~ClientDesktop() {
        if (fineTimer) timeEndPeriod(1);
    }
    ClientDesktop(const ClientDesktop&) = delete;
    ClientDesktop& operator=(const ClientDesktop&) = delete;

    bool fineTimer = false;
    automation::win32::Win32Desktop real;
    win32test::WineMenuDesktop desktop{real};
};

}  // namespace

std::vector<std::string> commandLineArguments(int, char**) {
    int argc = 0;
    LPWSTR* wargv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(pathToUtf8(std::filesystem::path(wargv[i])));
    LocalFree(wargv);
    return args;
}

void prepareConsole() {
    SetConsoleOutputCP(CP_UTF8);
}

std::string executableDir() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return pathToUtf8(std::filesystem::current_path());
        if (n < buffer.size()) {
            buffer.resize(n);
            return pathToUtf8(std::filesystem::path(buffer).parent_path());
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::shared_ptr<automation::Desktop> openClientDesktop() {
    auto holder = std::make_shared<ClientDesktop>();
    return std::shared_ptr<automation::Desktop>(holder, &holder->desktop);
}

InterruptStops::InterruptStops(download::StopFlag& stop) {
    interruptTarget.store(&stop);
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

InterruptStops::~InterruptStops() {
    SetConsoleCtrlHandler(onConsoleControl, FALSE);
    interruptTarget.store(nullptr);
}

}  // namespace ca::cli
