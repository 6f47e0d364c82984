// The Win32 stand-in customs client: Eport.exe [FIXTURE.json [LOG.txt]]
// Builds its windows from the fixture (the simulated stand-in's format), shows them, and writes
// what it receives to the log.
#include <windows.h>

#include <shellapi.h>

#include <exception>
#include <string>

#include "StandinClient.h"
#include "StandinLog.h"
#include "ca/automation/sim/ClientFixture.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring fixturePath = argc > 1 ? argv[1] : L"";
    std::wstring logPath = argc > 2 ? argv[2] : L"";
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
    ca::win32test::StandinClient client(instance, {}, std::move(fixture), log);
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
