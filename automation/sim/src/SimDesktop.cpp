#include "ca/automation/sim/SimDesktop.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "SimDesktopState.h"

namespace ca::automation::sim {

SimDesktop::SimDesktop(Clock& clock)
    : clock_(clock),
      virtualClock_(dynamic_cast<VirtualClock*>(&clock)),
      alive_(std::make_shared<bool>(true)) {}

SimDesktop::~SimDesktop() {
    *alive_ = false;
}

// --- Building -------------------------------------------------------------------------------------

Pid SimDesktop::createProcess(std::string exeFileGbk, Bitness bitness) {
    auto p = std::make_unique<Process>();
    p->pid = nextPid_;
    nextPid_ += 4;
    p->exeFile = std::move(exeFileGbk);
    p->bitness = bitness;
    // A 64-bit process's blocks lie above 4 GiB, so a pointer cut to 32 bits misses them.
    p->nextAddress = bitness == Bitness::Bits64 ? 0x7FF600000000ull : 0x00A00000ull;
    const Pid pid = p->pid;
    processes_[pid] = std::move(p);
    processOrder_.push_back(pid);
    return pid;
}

void SimDesktop::exitProcess(Pid pid) {
    Process* p = findProcess(pid);
    if (!p || !p->alive) return;
    std::vector<HWnd> owned;
    for (const auto& [id, w] : windows_) {
        if (w->pid == pid && (w->parent == 0 || !windowExists(w->parent) || find(w->parent)->pid != pid)) {
            owned.push_back(id);
        }
    }
    for (HWnd w : owned)
        destroyWindow(w);
    p->alive = false;
    p->blocks.clear();
    p->listener = nullptr;
    processOrder_.erase(std::remove(processOrder_.begin(), processOrder_.end(), pid), processOrder_.end());
}

bool SimDesktop::processAlive(Pid pid) const {
    const Process* p = findProcess(pid);
    return p && p->alive;
}

void SimDesktop::setOpenProcessFails(Pid pid, bool fails) {
    if (Process* p = findProcess(pid)) p->openFails = fails;
}

void SimDesktop::setAllocateFails(Pid pid, bool fails) {
    if (Process* p = findProcess(pid)) p->allocateFails = fails;
}

std::size_t SimDesktop::liveBlocks(Pid pid) const {
    const Process* p = findProcess(pid);
    return p ? p->blocks.size() : 0;
}

HWnd SimDesktop::createWindow(Pid pid, HWnd parent, WindowKind kind, std::string classNameGbk,
                              std::string textGbk, Placement placement) {
    auto w = std::make_unique<Window>();
    w->id = nextWindow_;
    nextWindow_ += 4;
    w->pid = pid;
    w->kind = kind;
    w->className = std::move(classNameGbk);
    w->text = std::move(textGbk);
    Window* p = parent ? find(parent) : nullptr;
    w->parent = p ? parent : 0;
    std::vector<HWnd>& siblings = p ? p->children : topLevels_;
    if (placement == Placement::First) {
        siblings.insert(siblings.begin(), w->id);
    } else {
        siblings.push_back(w->id);
    }
    const HWnd id = w->id;
    windows_[id] = std::move(w);
    return id;
}

void SimDesktop::destroyWindow(HWnd id) {
    Window* w = find(id);
    if (!w) return;
    const std::vector<HWnd> children = w->children;
    for (HWnd c : children)
        destroyWindow(c);
    std::vector<HWnd>& siblings = w->parent && find(w->parent) ? find(w->parent)->children : topLevels_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), id), siblings.end());
    windows_.erase(id);
}

bool SimDesktop::windowExists(HWnd w) const {
    return find(w) != nullptr;
}

HWnd SimDesktop::parentWindow(HWnd w) const {
    const Window* win = find(w);
    return win ? win->parent : 0;
}

std::vector<HWnd> SimDesktop::children(HWnd parent) const {
    if (parent == 0) return topLevels_;
    const Window* w = find(parent);
    return w ? w->children : std::vector<HWnd>{};
}

WindowKind SimDesktop::windowKind(HWnd w) const {
    const Window* win = find(w);
    return win ? win->kind : WindowKind::Panel;
}

void SimDesktop::setVisible(HWnd w, bool visible) {
    if (Window* win = find(w)) win->visible = visible;
}

void SimDesktop::setEnabled(HWnd w, bool enabled) {
    if (Window* win = find(w)) win->enabled = enabled;
}

void SimDesktop::setMinimized(HWnd w, bool minimized) {
    if (Window* win = find(w)) win->minimized = minimized;
}

bool SimDesktop::isMinimized(HWnd w) const {
    const Window* win = find(w);
    return win && win->minimized;
}

void SimDesktop::bringToFront(HWnd w) {
    auto it = std::find(topLevels_.begin(), topLevels_.end(), w);
    if (it == topLevels_.end()) return;
    topLevels_.erase(it);
    topLevels_.insert(topLevels_.begin(), w);
}

void SimDesktop::setText(HWnd w, std::string textGbk) {
    if (Window* win = find(w)) {
        win->text = std::move(textGbk);
        win->selStart = win->selEnd = 0;
    }
}

std::string SimDesktop::text(HWnd w) const {
    const Window* win = find(w);
    return win ? win->text : std::string();
}

bool SimDesktop::isReadOnly(HWnd w) const {
    const Window* win = find(w);
    return win && win->readOnly;
}

void SimDesktop::setReadOnly(HWnd w, bool readOnly) {
    if (Window* win = find(w)) win->readOnly = readOnly;
}

void SimDesktop::setListRows(HWnd list, std::vector<std::vector<std::string>> rows) {
    Window* w = find(list);
    if (!w) return;
    w->rows = std::move(rows);
    w->states.assign(w->rows.size(), 0);
}

std::size_t SimDesktop::listRowCount(HWnd list) const {
    const Window* w = find(list);
    return w ? w->rows.size() : 0;
}

std::vector<std::vector<std::string>> SimDesktop::listRows(HWnd list) const {
    const Window* w = find(list);
    return w ? w->rows : std::vector<std::vector<std::string>>{};
}

std::uint32_t SimDesktop::listRowState(HWnd list, std::size_t row) const {
    const Window* w = find(list);
    return w && row < w->states.size() ? w->states[row] : 0;
}

int SimDesktop::listFocusedRow(HWnd list) const {
    const Window* w = find(list);
    if (!w) return -1;
    for (std::size_t r = 0; r < w->states.size(); ++r) {
        if (w->states[r] & LvisFocused) return static_cast<int>(r);
    }
    return -1;
}

std::vector<int> SimDesktop::listSelectedRows(HWnd list) const {
    std::vector<int> rows;
    const Window* w = find(list);
    if (!w) return rows;
    for (std::size_t r = 0; r < w->states.size(); ++r) {
        if (w->states[r] & LvisSelected) rows.push_back(static_cast<int>(r));
    }
    return rows;
}

HMenu SimDesktop::createMenu() {
    const HMenu id = nextMenu_;
    nextMenu_ += 4;
    menus_[id] = std::make_unique<Menu>();
    return id;
}

void SimDesktop::appendMenuItem(HMenu menu, std::uint32_t id) {
    auto it = menus_.find(menu);
    if (it != menus_.end()) it->second->items.push_back({id, 0});
}

void SimDesktop::appendSubMenu(HMenu menu, HMenu sub) {
    auto it = menus_.find(menu);
    if (it != menus_.end()) it->second->items.push_back({NoMenuItemId, sub});
}

void SimDesktop::setWindowMenu(HWnd w, HMenu menu) {
    if (Window* win = find(w)) win->menu = menu;
}

void SimDesktop::setListener(Pid pid, std::function<void(const SimEvent&)> listener) {
    if (Process* p = findProcess(pid)) p->listener = std::move(listener);
}

void SimDesktop::setPostedDelay(Pid pid, std::int64_t ms) {
    if (Process* p = findProcess(pid)) p->postedDelay = std::max<std::int64_t>(0, ms);
}

// --- Time -------------------------------------------------------------------------------------------

void SimDesktop::schedule(std::int64_t delayMs, std::function<void()> work) {
    const std::int64_t due = clock_.nowMs() + std::max<std::int64_t>(0, delayMs);
    if (virtualClock_) {
        std::weak_ptr<bool> alive = alive_;
        virtualClock_->callAt(due, [alive, work = std::move(work)] {
            if (auto a = alive.lock(); a && *a) work();
        });
    } else {
        scheduled_.emplace(due, std::move(work));
    }
}

void SimDesktop::pump() {
    deliverPosted();
    const std::int64_t now = clock_.nowMs();
    while (!scheduled_.empty() && scheduled_.begin()->first <= now) {
        auto work = std::move(scheduled_.begin()->second);
        scheduled_.erase(scheduled_.begin());
        work();
    }
}

// --- Desktop: windows ------------------------------------------------------------------------------

std::vector<HWnd> SimDesktop::topLevelWindows() {
    return topLevels_;
}

Pid SimDesktop::windowProcessId(HWnd w) {
    const Window* win = find(w);
    return win ? win->pid : 0;
}

bool SimDesktop::isWindowVisible(HWnd w) {
    // Visible when the window and all its ancestors are; a minimised window counts as visible.
    for (const Window* win = find(w); win; win = win->parent ? find(win->parent) : nullptr) {
        if (!win->visible) return false;
        if (win->parent == 0) return true;
    }
    return false;
}

bool SimDesktop::isWindowEnabled(HWnd w) {
    const Window* win = find(w);
    return win && win->enabled;
}

std::string SimDesktop::windowClassName(HWnd w) {
    const Window* win = find(w);
    return win ? win->className.substr(0, 255) : std::string();
}

HWnd SimDesktop::findChildWindow(HWnd parent, std::string_view className) {
    const std::vector<HWnd>* siblings = &topLevels_;
    if (parent != 0) {
        const Window* p = find(parent);
        if (!p) return 0;
        siblings = &p->children;
    }
    for (HWnd c : *siblings) {
        if (find(c)->className == className) return c;
    }
    return 0;
}

HWnd SimDesktop::nextSiblingWindow(HWnd w) {
    const Window* win = find(w);
    if (!win) return 0;
    const std::vector<HWnd>& siblings = win->parent ? find(win->parent)->children : topLevels_;
    auto it = std::find(siblings.begin(), siblings.end(), w);
    if (it == siblings.end() || ++it == siblings.end()) return 0;
    return *it;
}

std::vector<HWnd> SimDesktop::descendantWindows(HWnd parent) {
    if (parent == 0) return topLevels_;
    std::vector<HWnd> out;
    const Window* p = find(parent);
    if (!p) return out;
    std::vector<HWnd> stack(p->children.rbegin(), p->children.rend());
    while (!stack.empty()) {
        const HWnd w = stack.back();
        stack.pop_back();
        out.push_back(w);
        const Window* win = find(w);
        stack.insert(stack.end(), win->children.rbegin(), win->children.rend());
    }
    return out;
}

// --- Desktop: menus ---------------------------------------------------------------------------------

HMenu SimDesktop::windowMenu(HWnd w) {
    const Window* win = find(w);
    return win ? win->menu : 0;
}

HMenu SimDesktop::subMenu(HMenu menu, int position) {
    auto it = menus_.find(menu);
    if (it == menus_.end() || position < 0 ||
        static_cast<std::size_t>(position) >= it->second->items.size()) {
        return 0;
    }
    return it->second->items[static_cast<std::size_t>(position)].sub;
}

std::uint32_t SimDesktop::menuItemId(HMenu menu, int position) {
    auto it = menus_.find(menu);
    if (it == menus_.end() || position < 0 ||
        static_cast<std::size_t>(position) >= it->second->items.size()) {
        return NoMenuItemId;
    }
    const Menu::Item& item = it->second->items[static_cast<std::size_t>(position)];
    return item.sub ? NoMenuItemId : item.id;
}

// --- Desktop: processes -----------------------------------------------------------------------------

std::vector<ProcessEntry> SimDesktop::processSnapshot() {
    std::vector<ProcessEntry> out;
    if (snapshotFails_) return out;
    for (Pid pid : processOrder_)
        out.push_back({findProcess(pid)->exeFile.substr(0, 260), pid});
    return out;
}

ProcessHandle SimDesktop::openProcess(Pid pid, std::uint32_t access) {
    const Process* p = findProcess(pid);
    if (!p || !p->alive || p->openFails) return 0;
    const ProcessHandle h = nextHandle_;
    nextHandle_ += 4;
    openHandles_[h] = {pid, access};
    return h;
}

void SimDesktop::closeProcess(ProcessHandle process) {
    openHandles_.erase(process);
}

SimDesktop::Process* SimDesktop::processOfHandle(ProcessHandle h, std::uint32_t needed) {
    auto it = openHandles_.find(h);
    if (it == openHandles_.end() || (it->second.access & needed) != needed) return nullptr;
    Process* p = findProcess(it->second.pid);
    return p && p->alive ? p : nullptr;
}

Bitness SimDesktop::processBitness(ProcessHandle process) {
    const Process* p = processOfHandle(process, 0);
    return p ? p->bitness : Bitness::Bits32;
}

RemoteAddress SimDesktop::allocateRemote(ProcessHandle process, std::size_t size) {
    Process* p = processOfHandle(process, ProcessVmOperation);
    if (!p || p->allocateFails || size == 0) return 0;
    const RemoteAddress at = p->nextAddress;
    p->nextAddress += (size + 0xFFFF) & ~static_cast<RemoteAddress>(0xFFFF);
    p->blocks[at] = Process::Block{std::vector<unsigned char>(size, 0), true};
    return at;
}

bool SimDesktop::writeRemote(ProcessHandle process, RemoteAddress at, const void* data, std::size_t size) {
    Process* p = processOfHandle(process, ProcessVmWrite | ProcessVmOperation);
    RemoteAddress offset = 0;
    auto* block = p ? blockAt(p->blocks, at, size, offset) : nullptr;
    if (!block) return false;
    std::memcpy(block->bytes.data() + offset, data, size);
    return true;
}

bool SimDesktop::readRemote(ProcessHandle process, RemoteAddress at, void* data, std::size_t size) {
    Process* p = processOfHandle(process, ProcessVmRead);
    RemoteAddress offset = 0;
    auto* block = p ? blockAt(p->blocks, at, size, offset) : nullptr;
    if (!block) return false;
    std::memcpy(data, block->bytes.data() + offset, size);
    return true;
}

bool SimDesktop::decommitRemote(ProcessHandle process, RemoteAddress at, std::size_t size) {
    Process* p = processOfHandle(process, ProcessVmOperation);
    if (!p) return false;
    auto it = p->blocks.find(at);
    if (it == p->blocks.end() || size > it->second.bytes.size()) return false;
    it->second.committed = false;
    return true;
}

bool SimDesktop::releaseRemote(ProcessHandle process, RemoteAddress at) {
    Process* p = processOfHandle(process, ProcessVmOperation);
    return p && p->blocks.erase(at) == 1;
}

bool SimDesktop::trySetClipboardText(std::string_view ansiText) {
    ++clipboardAttempts_;
    if (clipboardBusy_ != 0) {
        if (clipboardBusy_ > 0) --clipboardBusy_;
        return false;
    }
    clipboard_ = std::string(ansiText);
    traceCall(0, 0, 0, 0, false, clipboard_);
    return true;
}

// --- Lookups ----------------------------------------------------------------------------------------

SimDesktop::Window* SimDesktop::find(HWnd w) {
    auto it = windows_.find(w);
    return it == windows_.end() ? nullptr : it->second.get();
}

const SimDesktop::Window* SimDesktop::find(HWnd w) const {
    auto it = windows_.find(w);
    return it == windows_.end() ? nullptr : it->second.get();
}

SimDesktop::Process* SimDesktop::findProcess(Pid pid) {
    auto it = processes_.find(pid);
    return it == processes_.end() ? nullptr : it->second.get();
}

const SimDesktop::Process* SimDesktop::findProcess(Pid pid) const {
    auto it = processes_.find(pid);
    return it == processes_.end() ? nullptr : it->second.get();
}

}  // namespace ca::automation::sim
