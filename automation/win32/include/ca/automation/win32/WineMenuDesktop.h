#pragma once
// The real desktop, except that the menu bar of another process's window is answered from a copy
// of the client's menu bar held in this process. Wine answers no menu queries about another
// process's menus (the item count comes back as -1), so under Wine the menu walk runs on the copy,
// while the WM_COMMAND it leads to still crosses to the client for real. Without a copy nothing is
// replaced.
#include "ca/automation/Desktop.h"

namespace ca::automation::win32 {

bool runningUnderWine();

class WineMenuDesktop : public automation::Desktop {
public:
    // Takes over the copy (a menu bar of this process, destroyed with the desktop); 0: no copy.
    WineMenuDesktop(automation::Desktop& real, automation::HMenu copy);
    ~WineMenuDesktop() override;
    WineMenuDesktop(const WineMenuDesktop&) = delete;
    WineMenuDesktop& operator=(const WineMenuDesktop&) = delete;

    // How often the copy stood in for another process's menu bar.
    int mirroredMenus() const { return mirrored_; }

    std::vector<automation::HWnd> topLevelWindows() override { return real_.topLevelWindows(); }
    automation::Pid windowProcessId(automation::HWnd w) override { return real_.windowProcessId(w); }
    bool isWindowVisible(automation::HWnd w) override { return real_.isWindowVisible(w); }
    bool isWindowEnabled(automation::HWnd w) override { return real_.isWindowEnabled(w); }
    std::string windowClassName(automation::HWnd w) override { return real_.windowClassName(w); }
    automation::HWnd findChildWindow(automation::HWnd parent, std::string_view className) override {
        return real_.findChildWindow(parent, className);
    }
    automation::HWnd nextSiblingWindow(automation::HWnd w) override { return real_.nextSiblingWindow(w); }
    std::vector<automation::HWnd> descendantWindows(automation::HWnd parent) override {
        return real_.descendantWindows(parent);
    }
    automation::LResult sendMessage(automation::HWnd w, automation::Message msg, automation::WParam wParam,
                                    automation::LParam lParam) override {
        return real_.sendMessage(w, msg, wParam, lParam);
    }
    bool postMessage(automation::HWnd w, automation::Message msg, automation::WParam wParam,
                     automation::LParam lParam) override {
        return real_.postMessage(w, msg, wParam, lParam);
    }
    automation::HMenu windowMenu(automation::HWnd w) override;
    automation::HMenu subMenu(automation::HMenu menu, int position) override {
        return real_.subMenu(menu, position);
    }
    std::uint32_t menuItemId(automation::HMenu menu, int position) override {
        return real_.menuItemId(menu, position);
    }
    std::vector<automation::ProcessEntry> processSnapshot() override { return real_.processSnapshot(); }
    automation::ProcessHandle openProcess(automation::Pid pid, std::uint32_t access) override {
        return real_.openProcess(pid, access);
    }
    void closeProcess(automation::ProcessHandle process) override { real_.closeProcess(process); }
    automation::Bitness processBitness(automation::ProcessHandle process) override {
        return real_.processBitness(process);
    }
    automation::RemoteAddress allocateRemote(automation::ProcessHandle process, std::size_t size) override {
        return real_.allocateRemote(process, size);
    }
    bool writeRemote(automation::ProcessHandle process, automation::RemoteAddress at, const void* data,
                     std::size_t size) override {
        return real_.writeRemote(process, at, data, size);
    }
    bool readRemote(automation::ProcessHandle process, automation::RemoteAddress at, void* data,
                    std::size_t size) override {
        return real_.readRemote(process, at, data, size);
    }
    bool decommitRemote(automation::ProcessHandle process, automation::RemoteAddress at,
                        std::size_t size) override {
        return real_.decommitRemote(process, at, size);
    }
    bool releaseRemote(automation::ProcessHandle process, automation::RemoteAddress at) override {
        return real_.releaseRemote(process, at);
    }
    bool trySetClipboardText(std::string_view ansiText) override {
        return real_.trySetClipboardText(ansiText);
    }

private:
    automation::Desktop& real_;
    automation::HMenu copy_ = 0;
    int mirrored_ = 0;
};

}  // namespace ca::automation::win32
