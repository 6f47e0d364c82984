#pragma once
// Finding the customs client: its process by executable name and the top-level window that is
// the root of every further lookup. Names are UTF-8; they are compared with the snapshot's ANSI
// texts after conversion, so only ASCII letters compare without regard to case.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ca/automation/Desktop.h"
#include "ca/util/Log.h"

namespace ca::automation {

// Log line when the client has no process or no visible and enabled top-level window.
inline constexpr const char* kClientNotFound = "无法找到海关录入程序，请确认程序是否已经启动";
// Log line of the entry procedures once the client is found and restored.
inline constexpr const char* kClientFound = "已找到海关录入程序";

// Process identifier of the running process whose executable is name, 0 when none. Each snapshot
// entry matches when the file-name part of its executable text (after the last '\' or '/') or the
// whole text equals name, ignoring the case of ASCII letters; a later match replaces an earlier one.
Pid GetPID(Desktop& desktop, std::string_view name);

// The first top-level window, front to back, that belongs to pid and is visible and enabled;
// 0 when pid is 0 or no window qualifies.
HWnd GetHWndByPID(Desktop& desktop, Pid pid);

// Sends the window the restore system command (WM_SYSCOMMAND, SC_RESTORE, 0), synchronously.
// The window is not brought to the front.
void RestoreWindow(Desktop& desktop, HWnd window);

// The fixed opening of entry and download: GetPID, GetHWndByPID, and on success the restore
// command. On failure logs kClientNotFound and returns 0. Logs nothing on success (the entry
// procedures log kClientFound themselves).
HWnd FindClient(Desktop& desktop, Log& log, std::string_view processName);

// A client found before: its process and main window.
struct KnownClient {
    Pid pid = 0;
    HWnd window = 0;
};

// FindClient for a procedure that comes back to the client again and again: while the window found
// before still belongs to the same process and is visible and enabled it is taken as it is (three
// questions instead of a process snapshot and a walk over every top-level window); otherwise the
// client is looked up afresh and `known` updated (emptied when it is not found). The restore command
// is sent and the failure logged as by FindClient.
HWnd FindClient(Desktop& desktop, Log& log, std::string_view processName, KnownClient& known);

// The distinct class names (UTF-8, case-sensitive, in order of first appearance) of all
// descendants of the client's main window; nullopt when no process has that name. A process
// without a qualifying window lists the top-level windows' classes, as the platform does for an
// empty parent.
std::optional<std::vector<std::string>> ListClientClassNames(Desktop& desktop, std::string_view processName);

}  // namespace ca::automation
