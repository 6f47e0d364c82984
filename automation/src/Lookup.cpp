#include "ca/automation/Lookup.h"

#include <algorithm>

#include "ca/util/AsciiCase.h"
#include "ca/util/Gbk.h"

namespace ca::automation {

namespace {

std::string_view fileNamePart(std::string_view path) {
    auto slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

Pid GetPID(Desktop& desktop, std::string_view name) {
    Pid found = 0;
    for (const ProcessEntry& entry : desktop.processSnapshot()) {
        // The snapshot's bytes are GBK, whose second bytes may look like ASCII letters or a
        // backslash; comparing in UTF-8 keeps both the separator search and the case folding
        // to real ASCII characters.
        const std::string exe = gbkToUtf8(entry.exeFile);
        if (equalsNoCase(fileNamePart(exe), name) || equalsNoCase(exe, name)) {
            found = entry.pid;
        }
    }
    return found;
}

HWnd GetHWndByPID(Desktop& desktop, Pid pid) {
    if (pid == 0) return 0;
    for (HWnd w : desktop.topLevelWindows()) {
        if (desktop.windowProcessId(w) == pid && desktop.isWindowVisible(w) && desktop.isWindowEnabled(w)) {
            return w;
        }
    }
    return 0;
}

void RestoreWindow(Desktop& desktop, HWnd window) {
    desktop.sendMessage(window, WmSysCommand, ScRestore, 0);
}

HWnd FindClient(Desktop& desktop, Log& log, std::string_view processName) {
    KnownClient none;
    return FindClient(desktop, log, processName, none);
}

HWnd FindClient(Desktop& desktop, Log& log, std::string_view processName, KnownClient& known) {
    const bool stillThere = known.window != 0 && known.pid != 0 &&
                            desktop.windowProcessId(known.window) == known.pid &&
                            desktop.isWindowVisible(known.window) && desktop.isWindowEnabled(known.window);
    if (!stillThere) {
        known.pid = GetPID(desktop, processName);
        known.window = GetHWndByPID(desktop, known.pid);
    }
    if (known.window == 0) {
        known = {};
        log.append(kClientNotFound);
        return 0;
    }
    RestoreWindow(desktop, known.window);
    return known.window;
}

std::optional<std::vector<std::string>> ListClientClassNames(Desktop& desktop, std::string_view processName) {
    const Pid pid = GetPID(desktop, processName);
    if (pid == 0) return std::nullopt;
    std::vector<std::string> names;
    for (HWnd w : desktop.descendantWindows(GetHWndByPID(desktop, pid))) {
        std::string name = gbkToUtf8(desktop.windowClassName(w));
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
    }
    return names;
}

}  // namespace ca::automation
