#pragma once
// The simulated desktop's inner records, shared by its two source files.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ca/automation/sim/SimDesktop.h"

namespace ca::automation::sim {

struct SimDesktop::Window {
    HWnd id = 0;
    Pid pid = 0;
    HWnd parent = 0;
    WindowKind kind = WindowKind::Panel;
    std::string className;
    std::string text;
    bool visible = true;
    bool enabled = true;
    bool minimized = false;
    bool readOnly = false;
    std::size_t selStart = 0;
    std::size_t selEnd = 0;
    std::vector<HWnd> children;
    HMenu menu = 0;
    std::vector<std::vector<std::string>> rows;  // list views
    std::vector<std::uint32_t> states;
};

struct SimDesktop::Process {
    Pid pid = 0;
    std::string exeFile;
    Bitness bitness = Bitness::Bits32;
    bool alive = true;
    bool openFails = false;
    bool allocateFails = false;
    std::int64_t postedDelay = 0;
    std::function<void(const SimEvent&)> listener;
    struct Block {
        std::vector<unsigned char> bytes;
        bool committed = true;
    };
    std::map<RemoteAddress, Block> blocks;
    RemoteAddress nextAddress = 0;
};

struct SimDesktop::Menu {
    struct Item {
        std::uint32_t id = NoMenuItemId;
        HMenu sub = 0;
    };
    std::vector<Item> items;
};

struct SimDesktop::Posted {
    std::int64_t dueMs = 0;
    HWnd window = 0;
    Message msg = 0;
    WParam wParam = 0;
    LParam lParam = 0;
};

// The committed block that holds [at, at + size), with the offset of at in it; null when none does.
template <typename Blocks>
auto* blockAt(Blocks& blocks, RemoteAddress at, std::size_t size, RemoteAddress& offset) {
    auto it = blocks.upper_bound(at);
    if (it == blocks.begin()) return static_cast<decltype(&it->second)>(nullptr);
    --it;
    if (!it->second.committed || at - it->first + size > it->second.bytes.size()) {
        return static_cast<decltype(&it->second)>(nullptr);
    }
    offset = at - it->first;
    return &it->second;
}

}  // namespace ca::automation::sim
