#pragma once
// The Desktop on the Win32 API: the real calls, in their ANSI forms, so texts cross as the
// system code page's bytes (GBK on the office's machines). Windows builds only.
#include <map>

#include "ca/automation/Desktop.h"

namespace ca::automation::win32 {

class Win32Desktop : public Desktop {
public:
    Win32Desktop() = default;
    ~Win32Desktop() override;
    Win32Desktop(const Win32Desktop&) = delete;
    Win32Desktop& operator=(const Win32Desktop&) = delete;

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
    HWnd clipboardOwner();
    HWnd clipboardOwner_ = 0;  // a message-only window that owns what we put on the clipboard
    // The process behind each open handle: its bitness is asked through a handle of its own with
    // the query right, which the list-view access mask (56) does not hold.
    std::map<ProcessHandle, Pid> opened_;
};

}  // namespace ca::automation::win32
