#pragma once
// Where a job on the client's desktop spends its time, on request: with CA_DESKTOP_CALLS set in the
// environment, the job (an entry, a download) runs on a CountingDesktop, and when the tally ends its
// report goes to standard error (CA_DESKTOP_CALLS=1) or is added to the end of the file the variable
// names: a first line "desktop calls of JOB: N", a line per operation (CountingDesktop::report), and
//   "desktop call time: C calls, T ms inside them: A ms in the client's acting sends, M ms in the
//    other messages and the clipboard, Q ms in window and process queries; W ms since the job began"
// The acting sends are those the client answers by doing its own work before it returns (the
// download's open click, closing command and row selections; the entry's Enter key, which confirms
// a field or ends a goods line): their time is mostly the client's, not the job's. The queries
// (finding windows and processes, reading the client's memory) are where an entry spends its time
// before it starts typing. Without the variable the job runs on the desktop as it is and nothing is
// written.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "ca/automation/CountingDesktop.h"

namespace ca::automation {

// The operations (CountingDesktop's names) the client answers by acting.
extern const std::vector<std::string> kEntryActingSends;
extern const std::vector<std::string> kDownloadActingSends;

class DesktopCallTally {
public:
    DesktopCallTally(Desktop& desktop, std::string job, std::vector<std::string> actingSends);
    ~DesktopCallTally();
    DesktopCallTally(const DesktopCallTally&) = delete;
    DesktopCallTally& operator=(const DesktopCallTally&) = delete;

    // The desktop the job runs on.
    Desktop& desktop() { return *desktop_; }

    // The last line of the report.
    static std::string summary(const CountingDesktop& counting, const std::vector<std::string>& actingSends,
                               double jobMs);

private:
    std::optional<CountingDesktop> counting_;
    Desktop* desktop_ = nullptr;
    std::string job_;
    std::string destination_;
    std::vector<std::string> actingSends_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace ca::automation
