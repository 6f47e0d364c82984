#include "ca/util/TemporaryFile.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <system_error>

#ifdef _WIN32
#include <wchar.h>
#else
#include <unistd.h>
#endif

namespace ca {

namespace {

using Char = std::filesystem::path::value_type;

// The table the signal handler reads. A slot's path is written while the slot is claimed (state 1)
// and read by the handler only once it is published (state 2); lock-free atomics and unlink are all
// the handler touches, so it is safe to run at any moment.
constexpr size_t kSlots = 16;
constexpr size_t kPathChars = 4096;
enum : int { kFree = 0, kClaimed = 1, kListed = 2 };

struct Slot {
    std::atomic<int> state{kFree};
    std::array<Char, kPathChars> path{};
};
std::array<Slot, kSlots> slots;

void removeNow(const Char* path) {
#ifdef _WIN32
    _wremove(path);
#else
    unlink(path);
#endif
}

extern "C" void onInterrupt(int sig) {
    for (auto& s : slots)
        if (s.state.load() == kListed) removeNow(s.path.data());
    std::signal(sig, SIG_DFL);
    std::raise(sig);  // delivered once the handler returns: the program ends as the signal says
}

int list(const std::filesystem::path& path) {
    const auto& native = path.native();
    if (native.size() >= kPathChars) return -1;  // still removed on failure, just not on a signal
    for (size_t i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (!slots[i].state.compare_exchange_strong(expected, kClaimed)) continue;
        std::copy(native.begin(), native.end(), slots[i].path.begin());
        slots[i].path[native.size()] = Char{};
        slots[i].state.store(kListed);
        return static_cast<int>(i);
    }
    return -1;
}

void unlist(int slot) {
    if (slot >= 0) slots[static_cast<size_t>(slot)].state.store(kFree);
}

void catchSignal(int sig) {
    const auto previous = std::signal(sig, onInterrupt);
    if (previous == SIG_IGN) std::signal(sig, SIG_IGN);
}

}  // namespace

TemporaryFile::TemporaryFile(std::filesystem::path path) : path_(std::move(path)), slot_(list(path_)) {}

TemporaryFile::~TemporaryFile() {
    if (!released_) {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    unlist(slot_);
}

void TemporaryFile::release() {
    released_ = true;
    unlist(slot_);
    slot_ = -1;
}

void removeTemporaryFilesOnInterrupt() {
    static_assert(std::atomic<int>::is_always_lock_free);
    catchSignal(SIGINT);
    catchSignal(SIGTERM);
}

}  // namespace ca
