// Messages on the simulated desktop: sending, the posted queue, and the default behaviour of
// each window kind.
#include <algorithm>
#include <cstring>

#include "SimDesktopState.h"
#include "ca/automation/LvItem.h"

namespace ca::automation::sim {

void SimDesktop::deliverPosted() {
    const std::int64_t now = clock_.nowMs();
    // Posted messages are handled in the order they were posted, each once it is due.
    while (!postedQueue_.empty() && postedQueue_.front().dueMs <= now) {
        Posted p = postedQueue_.front();
        postedQueue_.pop_front();
        Window* w = find(p.window);
        if (!w) continue;
        traceCall(p.window, p.msg, p.wParam, p.lParam, true, {});
        dispatch(*w, p.msg, p.wParam, p.lParam, true);
    }
}

LResult SimDesktop::sendMessage(HWnd w, Message msg, WParam wParam, LParam lParam) {
    Window* win = find(w);
    if (!win) return 0;
    ++sent_;
    if (tracing_) {
        std::string text;
        if (msg == WmSetText && lParam != 0) text = reinterpret_cast<const char*>(lParam);
        traceCall(w, msg, wParam, lParam, false, std::move(text));
    }
    return dispatch(*win, msg, wParam, lParam, false);
}

bool SimDesktop::postMessage(HWnd w, Message msg, WParam wParam, LParam lParam) {
    Window* win = find(w);
    if (!win) return false;
    ++posted_;
    const Process* p = findProcess(win->pid);
    const std::int64_t due = clock_.nowMs() + (p ? p->postedDelay : 0);
    postedQueue_.push_back({due, w, msg, wParam, lParam});
    if (virtualClock_) {
        std::weak_ptr<bool> alive = alive_;
        virtualClock_->callAt(due, [this, alive] {
            if (auto a = alive.lock(); a && *a) deliverPosted();
        });
    }
    return true;
}

void SimDesktop::traceCall(HWnd w, Message msg, WParam wParam, LParam lParam, bool posted, std::string text) {
    if (!tracing_) return;
    trace_.push_back({clock_.nowMs(), w, msg, wParam, lParam, posted, std::move(text)});
}

void SimDesktop::notify(const Window& w, SimEvent::Type type, std::int64_t value) {
    Process* p = findProcess(w.pid);
    if (p && p->listener) {
        auto listener = p->listener;  // the listener may replace itself or end the process
        listener(SimEvent{type, w.id, value});
    }
}

LResult SimDesktop::dispatch(Window& w, Message msg, WParam wParam, LParam lParam, bool posted) {
    const bool edit = w.kind == WindowKind::Edit;
    switch (msg) {
        case WmGetText: {
            if (wParam == 0 || lParam == 0) return 0;
            const std::size_t n = std::min<std::size_t>(w.text.size(), wParam - 1);
            auto* out = reinterpret_cast<char*>(lParam);
            std::memcpy(out, w.text.data(), n);
            out[n] = '\0';
            return static_cast<LResult>(n);
        }
        case WmSetText: {
            w.text = lParam ? reinterpret_cast<const char*>(lParam) : "";
            w.selStart = w.selEnd = 0;
            notify(w, SimEvent::Type::TextSet, 0);
            return 1;
        }
        case EmSetSel: {
            if (!edit) return 0;
            const auto start = static_cast<std::intptr_t>(wParam);
            const auto end = static_cast<std::intptr_t>(lParam);
            const auto len = static_cast<std::intptr_t>(w.text.size());
            if (start < 0) {  // -1 removes the selection
                w.selStart = w.selEnd = std::min(w.selEnd, w.text.size());
                return 0;
            }
            auto clamp = [&](std::intptr_t v) {
                return static_cast<std::size_t>(v < 0 || v > len ? len : v);
            };
            w.selStart = std::min(clamp(start), clamp(end));
            w.selEnd = std::max(clamp(start), clamp(end));
            return 0;
        }
        case WmPaste: {
            if (!edit) return 0;
            bool changed = false;
            if (!w.readOnly) {
                const std::size_t a = std::min(w.selStart, w.text.size());
                const std::size_t b = std::min(std::max(w.selEnd, a), w.text.size());
                const std::string before = w.text;
                w.text.replace(a, b - a, clipboard_);
                w.selStart = w.selEnd = a + clipboard_.size();
                changed = w.text != before;
            }
            notify(w, SimEvent::Type::Pasted, changed ? 1 : 0);
            return 0;
        }
        case WmSetFocus:
            notify(w, SimEvent::Type::Focused, 0);
            return 0;
        case WmKeyDown:
            notify(w, SimEvent::Type::KeyDown, static_cast<std::int64_t>(wParam));
            return 0;
        case WmKeyUp:
            notify(w, SimEvent::Type::KeyUp, static_cast<std::int64_t>(wParam));
            return 0;
        case WmLButtonDown:
            return 0;
        case WmLButtonUp:
            // A click at (0, 0) puts an edit's caret before the first character.
            if (edit) w.selStart = w.selEnd = 0;
            notify(w, SimEvent::Type::Clicked, posted ? 1 : 0);
            return 0;
        case EmSetReadOnly:
            if (!edit) return 0;
            w.readOnly = wParam != 0;
            notify(w, SimEvent::Type::ReadOnlyChanged, w.readOnly ? 1 : 0);
            return 1;
        case WmCommand:
            notify(w, SimEvent::Type::Command, static_cast<std::int64_t>(wParam & 0xFFFFu));
            return 0;
        case WmSysCommand:
            if ((wParam & 0xFFF0u) == ScRestore) w.minimized = false;
            notify(w, SimEvent::Type::SysCommand, static_cast<std::int64_t>(wParam));
            return 0;
        case LvmGetItemTextA:
        case LvmSetItemState:
            return w.kind == WindowKind::ListView ? handleListView(w, msg, wParam, lParam) : 0;
        default:
            return 0;
    }
}

LResult SimDesktop::handleListView(Window& w, Message msg, WParam wParam, LParam lParam) {
    Process* p = findProcess(w.pid);
    if (!p || !p->alive) return 0;
    // The request record is read from the list view's own process, in that process's layout; an
    // address outside its committed memory reads nothing.
    auto readOwn = [&](RemoteAddress at, void* data, std::size_t size) {
        RemoteAddress offset = 0;
        auto* block = blockAt(p->blocks, at, size, offset);
        if (block) std::memcpy(data, block->bytes.data() + offset, size);
        return block != nullptr;
    };
    auto writeOwn = [&](RemoteAddress at, const void* data, std::size_t size) {
        RemoteAddress offset = 0;
        auto* block = blockAt(p->blocks, at, size, offset);
        if (block) std::memcpy(block->bytes.data() + offset, data, size);
        return block != nullptr;
    };
    const std::size_t recordSize = lvItemSize(p->bitness);
    std::vector<unsigned char> record(recordSize);
    LvItemFields item;
    if (!readOwn(static_cast<RemoteAddress>(lParam), record.data(), recordSize) ||
        !decodeLvItem(p->bitness, record.data(), recordSize, item)) {
        return 0;
    }
    const auto row = static_cast<std::intptr_t>(wParam);
    if (msg == LvmGetItemTextA) {
        if (row < 0 || static_cast<std::size_t>(row) >= w.rows.size() || item.subItem < 0 ||
            item.textMax <= 0) {
            return 0;
        }
        const auto& cells = w.rows[static_cast<std::size_t>(row)];
        const std::string cell = static_cast<std::size_t>(item.subItem) < cells.size()
                                     ? cells[static_cast<std::size_t>(item.subItem)]
                                     : "";
        const std::size_t n = std::min<std::size_t>(cell.size(), static_cast<std::size_t>(item.textMax) - 1);
        std::string out = cell.substr(0, n);
        out.push_back('\0');
        if (!writeOwn(item.text, out.data(), out.size())) return 0;
        return static_cast<LResult>(n);
    }
    // LVM_SETITEMSTATE: row -1 means every row.
    auto apply = [&](std::size_t r) {
        if ((item.stateMask & LvisFocused) && (item.state & LvisFocused)) {
            for (auto& s : w.states)
                s &= ~LvisFocused;
        }
        w.states[r] = (w.states[r] & ~item.stateMask) | (item.state & item.stateMask);
    };
    if (row == -1) {
        for (std::size_t r = 0; r < w.states.size(); ++r)
            apply(r);
    } else if (row >= 0 && static_cast<std::size_t>(row) < w.states.size()) {
        apply(static_cast<std::size_t>(row));
    } else {
        return 0;
    }
    notify(w, SimEvent::Type::ItemStateChanged, static_cast<std::int64_t>(row));
    return 1;
}

}  // namespace ca::automation::sim
