#include "StandinProcess.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TestEnvironment.h"
#include "ca/automation/Lookup.h"

namespace ca::win32test {

namespace {

std::wstring quoted(const std::filesystem::path& p) {
    return L"\"" + p.wstring() + L"\"";
}

}  // namespace

StandinProcess::StandinProcess(const std::filesystem::path& exe, const std::string& fixtureJson,
                               const std::string& name, const std::vector<std::string>& classArgs) {
    std::filesystem::path folder = freshFolder(name);
    std::filesystem::path fixture = folder / "fixture.json";
    log_ = folder / "standin.log";
    std::ofstream(fixture, std::ios::binary) << fixtureJson;

    std::wstring commandLine = quoted(exe) + L" " + quoted(fixture) + L" " + quoted(log_);
    for (const std::string& arg : classArgs)
        commandLine += L" " + quoted(std::filesystem::path(arg));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exe.wstring().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process_)) {
        ADD_FAILURE() << "cannot start " << exe.string() << " (error " << GetLastError() << ")";
        return;
    }
    pid_ = process_.dwProcessId;
    // The client's main window becomes visible only once all its children exist; "ready" follows.
    // A busy machine may take half a minute and more to start a Wine process: the limit only ends
    // a client that never comes up.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (std::chrono::steady_clock::now() < deadline) {
        automation::HWnd w = automation::GetHWndByPID(realDesktop(), pid_);
        if (w != 0) {
            for (const std::string& line : lines()) {
                if (line == "ready 64" || line == "ready 32") {
                    main_ = w;
                    is64_ = line == "ready 64";
                }
            }
            if (main_) return;
        }
        if (WaitForSingleObject(process_.hProcess, 20) == WAIT_OBJECT_0) break;
    }
    std::ostringstream seen;
    for (const std::string& line : lines())
        seen << "\n  " << line;
    ADD_FAILURE() << "the stand-in client " << exe.string() << " did not come up; its log:" << seen.str();
}

StandinProcess::~StandinProcess() {
    if (!process_.hProcess) return;
    if (main_) PostMessageW(reinterpret_cast<HWND>(main_), WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

void StandinProcess::kill() {
    if (!process_.hProcess) return;
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
    main_ = 0;
}

std::vector<std::string> StandinProcess::lines() const {
    std::vector<std::string> result;
    std::ifstream in(log_, std::ios::binary);
    std::string line;
    while (std::getline(in, line))
        result.push_back(line);
    return result;
}

std::vector<std::string> StandinProcess::received() const {
    std::vector<std::string> all = lines();
    std::vector<std::string> result;
    bool ready = false;
    for (const std::string& line : all) {
        if (ready) result.push_back(line);
        ready = ready || line.rfind("ready ", 0) == 0;
    }
    return result;
}

bool StandinProcess::waitFor(const std::function<bool(const std::string&)>& pred,
                             std::chrono::milliseconds timeout) const {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        for (const std::string& line : lines())
            if (pred(line)) return true;
        Sleep(10);
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

bool StandinProcess::waitForLine(const std::string& line, std::chrono::milliseconds timeout) const {
    return waitFor([&](const std::string& l) { return l == line; }, timeout);
}

}  // namespace ca::win32test
