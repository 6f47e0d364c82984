// The Win32 stand-in customs client: Eport.exe [FIXTURE.json [LOG.txt [ROLE=CLASS ...]]]
// Builds its windows from the fixture (the simulated stand-in's format), shows them, and writes
// what it receives to the log. ROLE=CLASS replaces a window class name: ROLE is one of main,
// container, edit, list, button, label, combo.
#include <windows.h>

#include <shellapi.h>

#include <exception>
#include <string>
#include <vector>

#include "StandinClient.h"
#include "StandinLog.h"
#include "ca/automation/sim/ClientFixture.h"
#include "ca/automation/sim/StandInConfig.h"
#include "ca/util/Gbk.h"

namespace {

std::string narrow(const std::wstring& w) {
    int n =
        WideCharToMultiByte(CP_ACP, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

// ROLE=CLASS; false for an unknown role or an empty class name.
bool setClass(ca::automation::sim::ClientClasses& classes, const std::string& arg) {
    auto eq = arg.find('=');
    if (eq == std::string::npos || eq + 1 == arg.size()) return false;
    const std::string role = arg.substr(0, eq), name = arg.substr(eq + 1);
    std::string* target = role == "main"        ? &classes.mainWindow
                          : role == "container" ? &classes.container
                          : role == "edit"      ? &classes.edit
                          : role == "list"      ? &classes.list
                          : role == "button"    ? &classes.button
                          : role == "label"     ? &classes.label
                          : role == "combo"     ? &classes.combo
                                                : nullptr;
    if (!target) return false;
    *target = name;
    return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring fixturePath = argc > 1 ? argv[1] : L"";
    std::wstring logPath = argc > 2 ? argv[2] : L"";
    std::vector<std::string> classArgs;
    for (int i = 3; i < argc; ++i)
        classArgs.push_back(ca::gbkToUtf8(narrow(argv[i])));
    LocalFree(argv);

    ca::win32test::StandinLog log(logPath);
    ca::automation::sim::ClientFixture fixture;
    if (!fixturePath.empty()) {
        try {
            fixture = ca::automation::sim::loadFixture(std::filesystem::path(fixturePath));
        } catch (const std::exception& e) {
            log.line(std::string("fixture error: ") + e.what());
            return 2;
        }
    }
    ca::automation::sim::StandInConfig config;
    for (const std::string& arg : classArgs) {
        if (!setClass(config.classes, arg)) {
            log.line("unknown class argument: " + arg);
            return 2;
        }
    }
    ca::win32test::StandinClient client(instance, std::move(config), std::move(fixture), log);
    if (!client.create()) {
        log.line("cannot create the windows");
        return 3;
    }
    client.show();
    log.line(std::string("ready ") + (sizeof(void*) == 8 ? "64" : "32"));

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
