#include "ca/automation/CountingDesktop.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace ca::automation {

std::string messageName(Message msg) {
    static const std::map<Message, const char*> names = {
        {WmSetFocus, "WM_SETFOCUS"},
        {WmSetText, "WM_SETTEXT"},
        {WmGetText, "WM_GETTEXT"},
        {WmClose, "WM_CLOSE"},
        {WmKeyDown, "WM_KEYDOWN"},
        {WmKeyUp, "WM_KEYUP"},
        {WmCommand, "WM_COMMAND"},
        {WmSysCommand, "WM_SYSCOMMAND"},
        {WmLButtonDown, "WM_LBUTTONDOWN"},
        {WmLButtonUp, "WM_LBUTTONUP"},
        {WmPaste, "WM_PASTE"},
        {EmSetSel, "EM_SETSEL"},
        {EmSetReadOnly, "EM_SETREADONLY"},
        {LvmSetItemState, "LVM_SETITEMSTATE"},
        {LvmGetItemTextA, "LVM_GETITEMTEXTA"},
    };
    auto found = names.find(msg);
    if (found != names.end()) return found->second;
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%04X", static_cast<unsigned>(msg));
    return hex;
}

template <typename Call>
auto CountingDesktop::timed(const std::string& operation, Call&& call) -> decltype(call()) {
    struct Stopwatch {
        Tally& tally;
        std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
        ~Stopwatch() {
            ++tally.calls;
            tally.nanoseconds +=
                std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start)
                    .count();
        }
    } stopwatch{tallies_[operation]};
    return call();
}

std::int64_t CountingDesktop::calls(const std::string& operation) const {
    auto found = tallies_.find(operation);
    return found == tallies_.end() ? 0 : found->second.calls;
}

std::int64_t CountingDesktop::totalCalls() const {
    std::int64_t n = 0;
    for (const auto& [name, tally] : tallies_)
        n += tally.calls;
    return n;
}

std::string CountingDesktop::report() const {
    std::vector<std::pair<std::string, Tally>> rows(tallies_.begin(), tallies_.end());
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
        return a.second.nanoseconds > b.second.nanoseconds;
    });
    std::string text;
    char line[160];
    for (const auto& [name, tally] : rows) {
        const double ms = static_cast<double>(tally.nanoseconds) / 1e6;
        std::snprintf(line, sizeof line, "%-28s %9lld calls %11.1f ms %9.1f us/call\n", name.c_str(),
                      static_cast<long long>(tally.calls), ms,
                      1000.0 * ms / static_cast<double>(tally.calls));
        text += line;
    }
    return text;
}

std::vector<HWnd> CountingDesktop::topLevelWindows() {
    return timed("topLevelWindows", [&] { return inner_.topLevelWindows(); });
}
Pid CountingDesktop::windowProcessId(HWnd w) {
    return timed("windowProcessId", [&] { return inner_.windowProcessId(w); });
}
bool CountingDesktop::isWindowVisible(HWnd w) {
    return timed("isWindowVisible", [&] { return inner_.isWindowVisible(w); });
}
bool CountingDesktop::isWindowEnabled(HWnd w) {
    return timed("isWindowEnabled", [&] { return inner_.isWindowEnabled(w); });
}
std::string CountingDesktop::windowClassName(HWnd w) {
    return timed("windowClassName", [&] { return inner_.windowClassName(w); });
}
HWnd CountingDesktop::findChildWindow(HWnd parent, std::string_view className) {
    return timed("findChildWindow", [&] { return inner_.findChildWindow(parent, className); });
}
HWnd CountingDesktop::nextSiblingWindow(HWnd w) {
    return timed("nextSiblingWindow", [&] { return inner_.nextSiblingWindow(w); });
}
std::vector<HWnd> CountingDesktop::descendantWindows(HWnd parent) {
    return timed("descendantWindows", [&] { return inner_.descendantWindows(parent); });
}
LResult CountingDesktop::sendMessage(HWnd w, Message msg, WParam wParam, LParam lParam) {
    return timed("sendMessage " + messageName(msg),
                 [&] { return inner_.sendMessage(w, msg, wParam, lParam); });
}
bool CountingDesktop::postMessage(HWnd w, Message msg, WParam wParam, LParam lParam) {
    return timed("postMessage " + messageName(msg),
                 [&] { return inner_.postMessage(w, msg, wParam, lParam); });
}
HMenu CountingDesktop::windowMenu(HWnd w) {
    return timed("windowMenu", [&] { return inner_.windowMenu(w); });
}
HMenu CountingDesktop::subMenu(HMenu menu, int position) {
    return timed("subMenu", [&] { return inner_.subMenu(menu, position); });
}
std::uint32_t CountingDesktop::menuItemId(HMenu menu, int position) {
    return timed("menuItemId", [&] { return inner_.menuItemId(menu, position); });
}
std::vector<ProcessEntry> CountingDesktop::processSnapshot() {
    return timed("processSnapshot", [&] { return inner_.processSnapshot(); });
}
ProcessHandle CountingDesktop::openProcess(Pid pid, std::uint32_t access) {
    return timed("openProcess", [&] { return inner_.openProcess(pid, access); });
}
void CountingDesktop::closeProcess(ProcessHandle process) {
    timed("closeProcess", [&] { inner_.closeProcess(process); });
}
Bitness CountingDesktop::processBitness(ProcessHandle process) {
    return timed("processBitness", [&] { return inner_.processBitness(process); });
}
RemoteAddress CountingDesktop::allocateRemote(ProcessHandle process, std::size_t size) {
    return timed("allocateRemote", [&] { return inner_.allocateRemote(process, size); });
}
bool CountingDesktop::writeRemote(ProcessHandle process, RemoteAddress at, const void* data,
                                  std::size_t size) {
    return timed("writeRemote", [&] { return inner_.writeRemote(process, at, data, size); });
}
bool CountingDesktop::readRemote(ProcessHandle process, RemoteAddress at, void* data, std::size_t size) {
    return timed("readRemote", [&] { return inner_.readRemote(process, at, data, size); });
}
bool CountingDesktop::decommitRemote(ProcessHandle process, RemoteAddress at, std::size_t size) {
    return timed("decommitRemote", [&] { return inner_.decommitRemote(process, at, size); });
}
bool CountingDesktop::releaseRemote(ProcessHandle process, RemoteAddress at) {
    return timed("releaseRemote", [&] { return inner_.releaseRemote(process, at); });
}
bool CountingDesktop::trySetClipboardText(std::string_view ansiText) {
    return timed("trySetClipboardText", [&] { return inner_.trySetClipboardText(ansiText); });
}

}  // namespace ca::automation
