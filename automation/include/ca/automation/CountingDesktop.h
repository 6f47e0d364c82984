#pragma once
// A Desktop that passes every call on to another one and counts the calls and the time they take,
// by operation (and by message for sent and posted messages). It shows where a procedure spends
// its time on a real desktop, where every call crosses to another process or to the window system,
// and lets tests state how many calls of a kind a procedure makes.
#include <cstdint>
#include <map>
#include <string>

#include "ca/automation/Desktop.h"

namespace ca::automation {

class CountingDesktop : public Desktop {
public:
    struct Tally {
        std::int64_t calls = 0;
        std::int64_t nanoseconds = 0;
    };

    explicit CountingDesktop(Desktop& inner) : inner_(inner) {}

    // By operation name ("sendMessage WM_GETTEXT", "openProcess", ...).
    const std::map<std::string, Tally>& tallies() const { return tallies_; }
    // The calls of one operation name, 0 when there was none.
    std::int64_t calls(const std::string& operation) const;
    std::int64_t totalCalls() const;
    // One line per operation, the most time-consuming first: calls, total and mean time.
    std::string report() const;
    void reset() { tallies_.clear(); }

    std::vector<HWnd> topLevelWindows() override;
    Pid windowProcessId(HWnd w) override;
    bool isWindowVisible(HWnd w) override;
    bool isWindowEnabled(HWnd w) override;
    std::string windowClassName(HWnd w) override;
    HWnd findChildWindow(HWnd parent, std::string_view className) override;
    HWnd nextSiblingWindow(HWnd w) override;
    std::vector<HWnd> descendantWindows(HWnd parent) override;
    LResult sendMessage(HWnd w, Message msg, WParam wParam, LParam lParam) override;
    bool postMessage(HWnd w, Message msg, WParam wParam, LParam lParam) override;
    HMenu windowMenu(HWnd w) override;
    HMenu subMenu(HMenu menu, int position) override;
    std::uint32_t menuItemId(HMenu menu, int position) override;
    std::vector<ProcessEntry> processSnapshot() override;
    ProcessHandle openProcess(Pid pid, std::uint32_t access) override;
    void closeProcess(ProcessHandle process) override;
    Bitness processBitness(ProcessHandle process) override;
    RemoteAddress allocateRemote(ProcessHandle process, std::size_t size) override;
    bool writeRemote(ProcessHandle process, RemoteAddress at, const void* data, std::size_t size) override;
    bool readRemote(ProcessHandle process, RemoteAddress at, void* data, std::size_t size) override;
    bool decommitRemote(ProcessHandle process, RemoteAddress at, std::size_t size) override;
    bool releaseRemote(ProcessHandle process, RemoteAddress at) override;
    bool trySetClipboardText(std::string_view ansiText) override;

private:
    template <typename Call>
    auto timed(const std::string& operation, Call&& call) -> decltype(call());

    Desktop& inner_;
    std::map<std::string, Tally> tallies_;
};

// The name of a message the automation sends ("WM_GETTEXT"), or its number in hex.
std::string messageName(Message msg);

}  // namespace ca::automation
