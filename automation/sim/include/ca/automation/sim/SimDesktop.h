#pragma once
// A simulated desktop: windows with classes, order, text and visible/enabled state; processes
// with their own memory; menus; the clipboard; and a queue of posted messages that is handled
// while the caller sleeps. The stand-in customs client (StandInClient) lives on it; tests and
// the demo drive it through the same Desktop interface as the real backend.
//
// Window behaviour follows the window's kind: edits keep text, selection and a read-only flag;
// list views keep rows of cells and per-row state and answer the list-view requests from the
// owning process's memory; combo boxes and labels keep text. Interesting happenings (text
// changed, a key, a click, a row's state, a command) go to the owning process's listener.
//
// Posted messages and scheduled work run on the clock: with a VirtualClock through callAt, so a
// sleep of the procedure lets the client act; with another clock when pump() is called (a real
// clock's idle hook calls it).
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ca/automation/Desktop.h"
#include "ca/util/Clock.h"

namespace ca::automation::sim {

enum class WindowKind { TopLevel, Panel, Edit, ListView, Button, Combo, Label, Dialog };

enum class Placement { First, Last };

struct SimEvent {
    enum class Type {
        TextChanged,       // WM_SETTEXT or WM_PASTE changed an edit's text
        Pasted,            // WM_PASTE reached an edit (value: 1 when it changed the text)
        TextSet,           // WM_SETTEXT reached a window
        KeyDown,           // value: virtual key
        KeyUp,             // value: virtual key
        Clicked,           // left button released (value: 1 when the click was posted)
        Focused,           // WM_SETFOCUS
        ItemStateChanged,  // LVM_SETITEMSTATE changed row `value`
        Command,           // WM_COMMAND, value: identifier
        SysCommand,        // WM_SYSCOMMAND, value: command
        ReadOnlyChanged,   // EM_SETREADONLY, value: new flag
    };
    Type type;
    HWnd window = 0;
    std::int64_t value = 0;
};

// One traced call on the desktop (when tracing is on): a message sent or handled from the
// posted queue, or a clipboard write (msg 0, text = the clipboard text).
struct TracedCall {
    std::int64_t atMs = 0;
    HWnd window = 0;
    Message msg = 0;
    WParam wParam = 0;
    LParam lParam = 0;
    bool posted = false;
    std::string text;  // WM_SETTEXT's text or the clipboard text (GBK)
};

class SimDesktop : public Desktop {
public:
    explicit SimDesktop(Clock& clock);
    ~SimDesktop() override;
    SimDesktop(const SimDesktop&) = delete;
    SimDesktop& operator=(const SimDesktop&) = delete;

    Clock& clock() { return clock_; }

    // --- Building the desktop -----------------------------------------------------------------
    // A process joins the end of the snapshot. Its memory blocks lie above 4 GiB when 64-bit.
    Pid createProcess(std::string exeFileGbk, Bitness bitness = Bitness::Bits32);
    // The process ends: its windows are destroyed, its memory and open handles become invalid
    // and it leaves the snapshot. Every later message to its windows does nothing.
    void exitProcess(Pid pid);
    bool processAlive(Pid pid) const;
    void setSnapshotFails(bool fails) { snapshotFails_ = fails; }
    void setOpenProcessFails(Pid pid, bool fails);
    void setAllocateFails(Pid pid, bool fails);
    // Committed blocks currently allocated in the process (to check that callers release them).
    std::size_t liveBlocks(Pid pid) const;

    // A window owned by pid; parent 0 makes a top-level window (First = the front). Texts are GBK.
    HWnd createWindow(Pid pid, HWnd parent, WindowKind kind, std::string classNameGbk,
                      std::string textGbk = {}, Placement placement = Placement::Last);
    // Destroys the window and all its descendants.
    void destroyWindow(HWnd w);
    bool windowExists(HWnd w) const;
    HWnd parentWindow(HWnd w) const;
    std::vector<HWnd> children(HWnd parent) const;
    WindowKind windowKind(HWnd w) const;
    void setVisible(HWnd w, bool visible);
    void setEnabled(HWnd w, bool enabled);
    void setMinimized(HWnd w, bool minimized);
    bool isMinimized(HWnd w) const;
    // Brings a top-level window to the front.
    void bringToFront(HWnd w);

    // Window text (GBK) without any event; text() works for every kind.
    void setText(HWnd w, std::string textGbk);
    std::string text(HWnd w) const;
    bool isReadOnly(HWnd w) const;
    void setReadOnly(HWnd w, bool readOnly);

    // List views: rows of cells (GBK); setting the rows clears their state.
    void setListRows(HWnd list, std::vector<std::vector<std::string>> rows);
    std::size_t listRowCount(HWnd list) const;
    std::vector<std::vector<std::string>> listRows(HWnd list) const;
    std::uint32_t listRowState(HWnd list, std::size_t row) const;
    // The focused row, -1 when none; the selected rows in order.
    int listFocusedRow(HWnd list) const;
    std::vector<int> listSelectedRows(HWnd list) const;

    // Menus: items carry a command identifier; a submenu item carries the submenu.
    HMenu createMenu();
    void appendMenuItem(HMenu menu, std::uint32_t id);
    void appendSubMenu(HMenu menu, HMenu sub);
    void setWindowMenu(HWnd w, HMenu menu);

    // The process's listener receives the events of its windows after the default handling.
    void setListener(Pid pid, std::function<void(const SimEvent&)> listener);
    // How long the process takes to handle a posted message.
    void setPostedDelay(Pid pid, std::int64_t ms);

    // --- Clipboard ---------------------------------------------------------------------------
    std::string clipboardText() const { return clipboard_; }
    // The next `attempts` open attempts fail (-1: every attempt fails until changed).
    void setClipboardBusy(int attempts) { clipboardBusy_ = attempts; }
    int clipboardAttempts() const { return clipboardAttempts_; }

    // --- Time --------------------------------------------------------------------------------
    // Runs work after delayMs on the clock (see the header comment).
    void schedule(std::int64_t delayMs, std::function<void()> work);
    // Runs the posted messages and scheduled work that are due (for clocks other than virtual).
    void pump();

    // --- Observation -------------------------------------------------------------------------
    void setTracing(bool on) { tracing_ = on; }
    const std::vector<TracedCall>& trace() const { return trace_; }
    void clearTrace() { trace_.clear(); }
    std::uint64_t sentCount() const { return sent_; }
    std::uint64_t postedCount() const { return posted_; }

    // --- Desktop -----------------------------------------------------------------------------
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
    struct Window;
    struct Process;
    struct Menu;
    struct Posted;
    struct OpenHandle {
        Pid pid = 0;
        std::uint32_t access = 0;
    };

    Window* find(HWnd w);
    const Window* find(HWnd w) const;
    Process* findProcess(Pid pid);
    const Process* findProcess(Pid pid) const;
    Process* processOfHandle(ProcessHandle h, std::uint32_t neededAccess);
    LResult dispatch(Window& w, Message msg, WParam wParam, LParam lParam, bool posted);
    LResult handleListView(Window& w, Message msg, WParam wParam, LParam lParam);
    void notify(const Window& w, SimEvent::Type type, std::int64_t value);
    void deliverPosted();
    void traceCall(HWnd w, Message msg, WParam wParam, LParam lParam, bool posted, std::string text);

    Clock& clock_;
    VirtualClock* virtualClock_ = nullptr;
    std::unordered_map<HWnd, std::unique_ptr<Window>> windows_;
    std::vector<HWnd> topLevels_;  // front to back
    std::map<Pid, std::unique_ptr<Process>> processes_;
    std::vector<Pid> processOrder_;
    std::unordered_map<HMenu, std::unique_ptr<Menu>> menus_;
    std::unordered_map<ProcessHandle, OpenHandle> openHandles_;
    std::deque<Posted> postedQueue_;
    std::multimap<std::int64_t, std::function<void()>> scheduled_;  // for clocks other than virtual
    std::string clipboard_;
    int clipboardBusy_ = 0;
    int clipboardAttempts_ = 0;
    bool snapshotFails_ = false;
    bool tracing_ = false;
    std::vector<TracedCall> trace_;
    std::uint64_t sent_ = 0;
    std::uint64_t posted_ = 0;
    HWnd nextWindow_ = 0x10010;
    HMenu nextMenu_ = 0x20010;
    ProcessHandle nextHandle_ = 0x30010;
    Pid nextPid_ = 1000;
    std::shared_ptr<bool> alive_;  // guards work left on a virtual clock after destruction
};

}  // namespace ca::automation::sim
