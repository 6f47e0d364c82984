#include "ca/util/TemporaryFile.h"

#include <array>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <wchar.h>
#else
#include <unistd.h>
#endif

#include "ca/util/Folders.h"

namespace ca {

namespace {

namespace fs = std::filesystem;
using Char = fs::path::value_type;

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
// Set once a temporary file has been renamed over its target; the signal then noted, not obeyed.
std::atomic<bool> committed{false};
std::atomic<int> lateSignal{0};

// The longest file name (in bytes on POSIX, in UTF-16 units on Windows) file systems take.
constexpr size_t kMaxName = 255;
// Temporary files older than this are left over from a run that was killed.
constexpr auto kStale = std::chrono::hours(1);

#ifdef _WIN32
constexpr int kSignals[] = {SIGINT, SIGTERM};
#else
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
#endif

void removeNow(const Char* path) {
#ifdef _WIN32
    _wremove(path);
#else
    unlink(path);
#endif
}

extern "C" void onInterrupt(int sig) {
    if (committed.load()) {
        // The result is in place: the program finishes and reports it.
        lateSignal.store(sig);
#ifdef _WIN32
        std::signal(sig, onInterrupt);  // Windows resets the handler before calling it
#endif
        return;
    }
    for (auto& s : slots)
        if (s.state.load() == kListed) removeNow(s.path.data());
    std::signal(sig, SIG_DFL);
    std::raise(sig);  // delivered once the handler returns: the program ends as the signal says
}

int list(const fs::path& path) {
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

// Whether `name` has this naming: anything, ".tmp", digits, "-", digits.
bool isTemporaryName(const std::string& name) {
    const size_t dash = name.rfind('-');
    const size_t tmp = name.rfind(".tmp", dash);
    if (dash == std::string::npos || tmp == std::string::npos || tmp == 0) return false;
    auto digits = [&](size_t from, size_t to) {
        if (from >= to || to - from > 20) return false;
        for (size_t i = from; i < to; ++i)
            if (name[i] < '0' || name[i] > '9') return false;
        return true;
    };
    return digits(tmp + 4, dash) && digits(dash + 1, name.size());
}

void removeStaleTemporaryFiles(const fs::path& folder) {
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code e;
        if (!it->is_regular_file(e) || it->is_symlink(e) ||
            !isTemporaryName(pathToUtf8(it->path().filename())))
            continue;
        const auto written = it->last_write_time(e);
        if (!e && now - written > kStale) fs::remove(it->path(), e);
    }
}

// The longest start of `name` (UTF-8 on POSIX) that takes at most `room` units, cut before a
// character, never inside one.
fs::path cutName(const fs::path& name, size_t room) {
#ifdef _WIN32
    std::wstring text = name.wstring();
    if (text.size() <= room) return name;
    size_t end = room;
    if (end > 0 && text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF) --end;  // half a pair
    return fs::path(text.substr(0, end));
#else
    std::string text = name.string();
    if (text.size() <= room) return name;
    size_t end = room;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return fs::path(text.substr(0, end));
#endif
}

}  // namespace

TemporaryFile::TemporaryFile(fs::path path) : path_(std::move(path)), slot_(list(path_)) {}

TemporaryFile::~TemporaryFile() {
    if (!released_) {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
    unlist(slot_);
}

void TemporaryFile::commit(const fs::path& target, std::error_code& ec) {
#ifndef _WIN32
    // The signals wait while the file is renamed and marked done: one arriving in between would
    // otherwise end the program with a failure although its result is complete.
    sigset_t block, previous;
    sigemptyset(&block);
    for (const int sig : kSignals)
        sigaddset(&block, sig);
    sigprocmask(SIG_BLOCK, &block, &previous);
#endif
    fs::rename(path_, target, ec);
    if (!ec) {
        committed.store(true);
        release();
    }
#ifndef _WIN32
    sigprocmask(SIG_SETMASK, &previous, nullptr);
#endif
}

void TemporaryFile::release() {
    released_ = true;
    unlist(slot_);
    slot_ = -1;
}

fs::path temporaryPathBeside(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    removeStaleTemporaryFiles(folder);
    const std::string suffix =
        ".tmp" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count() % 1000000) + "-" +
        std::to_string(counter++);
    fs::path name = cutName(target.filename(), kMaxName - suffix.size());
    name += suffix;
    return target.has_parent_path() ? target.parent_path() / name : name;
}

void removeTemporaryFilesOnInterrupt() {
    static_assert(std::atomic<int>::is_always_lock_free);
    static_assert(std::atomic<bool>::is_always_lock_free);
    committed.store(false);  // what counts is a file committed from now on
    lateSignal.store(0);
    for (const int sig : kSignals)
        catchSignal(sig);
}

int interruptionAfterCompletion() {
    return lateSignal.load();
}

}  // namespace ca
