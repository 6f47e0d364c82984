#pragma once
// One running Win32 stand-in client for a test: started with a fixture (JSON text written to the
// test's folder) and a log file, waited for until its main window is visible with its children
// built, and closed again at the end.
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ca/automation/Desktop.h"

namespace ca::win32test {

class StandinProcess {
public:
    // Starts exe with the fixture (and ROLE=CLASS arguments replacing class names); fails the
    // calling test (and leaves running() false) when the client does not come up within seconds.
    StandinProcess(const std::filesystem::path& exe, const std::string& fixtureJson, const std::string& name,
                   const std::vector<std::string>& classArgs = {});
    ~StandinProcess();
    StandinProcess(const StandinProcess&) = delete;
    StandinProcess& operator=(const StandinProcess&) = delete;

    bool running() const { return main_ != 0; }
    // Ends the client at once, as a crash or the clerk's task manager would.
    void kill();
    automation::Pid pid() const { return pid_; }
    automation::HWnd mainWindow() const { return main_; }
    // Whether the stand-in reported itself as a 64-bit program.
    bool is64() const { return is64_; }

    // The log lines written so far (UTF-8), and the ones after the "ready" line.
    std::vector<std::string> lines() const;
    std::vector<std::string> received() const;
    // Waits until a log line satisfies pred (true) or the time runs out (false).
    bool waitFor(const std::function<bool(const std::string&)>& pred,
                 std::chrono::milliseconds timeout = std::chrono::milliseconds(3000)) const;
    bool waitForLine(const std::string& line,
                     std::chrono::milliseconds timeout = std::chrono::milliseconds(3000)) const;

private:
    std::filesystem::path log_;
    PROCESS_INFORMATION process_{};
    automation::Pid pid_ = 0;
    automation::HWnd main_ = 0;
    bool is64_ = false;
};

}  // namespace ca::win32test
