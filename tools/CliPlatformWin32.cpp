// Windows: the wide command line, a UTF-8 console, the Win32 desktop (see ClientDesktop.h) and
// Ctrl+C as the Stop button.
#include <windows.h>

#include <shellapi.h>

#include <atomic>

#include "CliPlatform.h"
#include "CliRegistry.h"
#include "ca/automation/win32/ClientDesktop.h"
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
    return automation::win32::openClientDesktop();
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
