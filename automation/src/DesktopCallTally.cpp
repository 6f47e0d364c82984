#include "ca/automation/DesktopCallTally.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "ca/util/Folders.h"

namespace ca::automation {

const std::vector<std::string> kEntryActingSends = {"sendMessage WM_KEYDOWN"};
const std::vector<std::string> kDownloadActingSends = {"sendMessage WM_LBUTTONDOWN",
                                                       "sendMessage WM_LBUTTONUP", "sendMessage WM_COMMAND",
                                                       "sendMessage LVM_SETITEMSTATE"};

DesktopCallTally::DesktopCallTally(Desktop& desktop, std::string job, std::vector<std::string> actingSends)
    : job_(std::move(job)), actingSends_(std::move(actingSends)) {
    const char* wanted = std::getenv("CA_DESKTOP_CALLS");
    if (wanted && *wanted) {
        destination_ = wanted;
        counting_.emplace(desktop);
    }
    desktop_ = counting_ ? &*counting_ : &desktop;
}

DesktopCallTally::~DesktopCallTally() {
    if (!counting_) return;
    const double jobMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_).count();
    const std::string text = "desktop calls of " + job_ + ": " + std::to_string(counting_->totalCalls()) +
                             "\n" + counting_->report() + summary(*counting_, actingSends_, jobMs) + "\n";
    if (destination_ == "1") {
        std::cerr << text << std::flush;
    } else {
        std::ofstream(pathFromUtf8(destination_), std::ios::binary | std::ios::app) << text;
    }
}

std::string DesktopCallTally::summary(const CountingDesktop& counting,
                                      const std::vector<std::string>& actingSends, double jobMs) {
    std::int64_t acting = 0, messages = 0, queries = 0;
    for (const auto& [operation, tally] : counting.tallies()) {
        if (std::find(actingSends.begin(), actingSends.end(), operation) != actingSends.end())
            acting += tally.nanoseconds;
        else if (operation.rfind("sendMessage ", 0) == 0 || operation.rfind("postMessage ", 0) == 0 ||
                 operation == "trySetClipboardText")
            messages += tally.nanoseconds;
        else
            queries += tally.nanoseconds;
    }
    const auto ms = [](std::int64_t ns) { return static_cast<double>(ns) / 1e6; };
    char line[300];
    std::snprintf(
        line, sizeof line,
        "desktop call time: %lld calls, %.1f ms inside them: %.1f ms in the client's acting sends, %.1f ms "
        "in the other messages and the clipboard, %.1f ms in window and process queries; %.1f ms since "
        "the job began",
        static_cast<long long>(counting.totalCalls()), ms(acting + messages + queries), ms(acting),
        ms(messages), ms(queries), jobMs);
    return line;
}

}  // namespace ca::automation
