#pragma once
// The seam to the desktop that the customs client runs on. Everything the automation does to
// another program goes through this interface: the Win32 backend makes the real calls, the
// simulated desktop (automation/sim) plays them against the stand-in client.
//
// Texts that cross this interface (class names, window texts, executable names, clipboard text)
// are the platform's ANSI bytes, GBK on the office's machines; lengths are byte counts. The
// procedures convert with ca::utf8ToGbk / ca::gbkToUtf8.
//
// A handle of 0 means "no window" (or no menu, process, block). Every operation on 0 or on a
// window that no longer exists does nothing and answers 0 / false / empty.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ca/automation/Messages.h"

namespace ca::automation {

using HWnd = std::uintptr_t;           // window handle value
using HMenu = std::uintptr_t;          // menu handle value
using Pid = std::uint32_t;             // process identifier, 0 = no process
using ProcessHandle = std::uintptr_t;  // open process, 0 = not opened
using RemoteAddress = std::uint64_t;   // address in another process, 0 = none
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

// One entry of the process snapshot.
struct ProcessEntry {
    std::string exeFile;  // ANSI bytes, up to 260; a bare file name or a full path
    Pid pid = 0;
};

// Pointer width of a process, which decides the layout of records written into it.
enum class Bitness { Bits32, Bits64 };

class Desktop {
public:
    virtual ~Desktop() = default;

    // --- Windows -----------------------------------------------------------------------------
    // Top-level windows in the platform's enumeration order (front to back).
    virtual std::vector<HWnd> topLevelWindows() = 0;
    // The process that owns the window, 0 when the window does not exist.
    virtual Pid windowProcessId(HWnd w) = 0;
    // A minimised window counts as visible.
    virtual bool isWindowVisible(HWnd w) = 0;
    virtual bool isWindowEnabled(HWnd w) = 0;
    // Class name (at most 255 bytes), empty when the window does not exist.
    virtual std::string windowClassName(HWnd w) = 0;
    // First direct child of parent, in window order, whose class equals className exactly.
    virtual HWnd findChildWindow(HWnd parent, std::string_view className) = 0;
    // The window just below w among its siblings, 0 at the end.
    virtual HWnd nextSiblingWindow(HWnd w) = 0;
    // All descendants of parent at every depth, in the platform's enumeration order (each window
    // followed by its own descendants). A parent of 0 lists the top-level windows.
    virtual std::vector<HWnd> descendantWindows(HWnd parent) = 0;

    // --- Messages ----------------------------------------------------------------------------
    // Synchronous: returns when the window has handled the message. For WM_SETTEXT and
    // WM_GETTEXT lParam points to the caller's own memory (the platform copies across); for the
    // list-view messages lParam is an address in the window's process.
    virtual LResult sendMessage(HWnd w, Message msg, WParam wParam, LParam lParam) = 0;
    // Queued: returns at once; the window handles the message later. False when not queued.
    virtual bool postMessage(HWnd w, Message msg, WParam wParam, LParam lParam) = 0;

    // --- Menus -------------------------------------------------------------------------------
    virtual HMenu windowMenu(HWnd w) = 0;
    // Submenu at a position of menu, 0 when the position holds no submenu.
    virtual HMenu subMenu(HMenu menu, int position) = 0;
    // Command identifier of the item at a position, NoMenuItemId for a submenu or no item.
    virtual std::uint32_t menuItemId(HMenu menu, int position) = 0;

    // --- Processes and their memory ----------------------------------------------------------
    // Running processes in snapshot order; empty when no snapshot can be taken.
    virtual std::vector<ProcessEntry> processSnapshot() = 0;
    // Opens a process with the given access (not inheritable); 0 on failure.
    virtual ProcessHandle openProcess(Pid pid, std::uint32_t access) = 0;
    virtual void closeProcess(ProcessHandle process) = 0;
    virtual Bitness processBitness(ProcessHandle process) = 0;
    // Reserves and commits size bytes of read-write memory; 0 on failure.
    virtual RemoteAddress allocateRemote(ProcessHandle process, std::size_t size) = 0;
    virtual bool writeRemote(ProcessHandle process, RemoteAddress at, const void* data, std::size_t size) = 0;
    virtual bool readRemote(ProcessHandle process, RemoteAddress at, void* data, std::size_t size) = 0;
    virtual bool decommitRemote(ProcessHandle process, RemoteAddress at, std::size_t size) = 0;
    virtual bool releaseRemote(ProcessHandle process, RemoteAddress at) = 0;

    // --- Clipboard ---------------------------------------------------------------------------
    // One attempt to replace the clipboard's content with plain ANSI text. False when the
    // clipboard could not be opened (another program holds it) or the text could not be placed;
    // PutClipboardText (TextEntry.h) retries.
    virtual bool trySetClipboardText(std::string_view ansiText) = 0;
};

}  // namespace ca::automation
