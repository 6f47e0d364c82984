#include "ca/util/Clock.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace ca {

void SteadyClock::sleepMs(std::int64_t ms) {
    if (ms <= 0) {
        if (idle_) idle_();
        return;
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    // Without a hook one plain sleep.
    if (!idle_) {
        std::this_thread::sleep_until(end);
        return;
    }
    // The hook runs once at the start (a simulated client runs what was posted before the pause),
    // then every few milliseconds while enough of the pause is left for it: one repaint can take
    // several milliseconds (more under Wine), and a hook that ran past the end would lengthen
    // every pause of a download by that much. The rest of the pause is one plain sleep.
    constexpr auto kReserve = std::chrono::milliseconds(15);
    const auto hookEnd = end - kReserve;
    idle_();
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= hookEnd) break;
        std::this_thread::sleep_until(std::min(hookEnd, now + std::chrono::milliseconds(5)));
        if (std::chrono::steady_clock::now() >= hookEnd) break;
        idle_();
    }
    std::this_thread::sleep_until(end);
}

std::int64_t SteadyClock::nowMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void VirtualClock::sleepMs(std::int64_t ms) {
    if (ms < 0) ms = 0;
    slept_ += ms;
    runUntil(now_ + ms);
}

void VirtualClock::callAt(std::int64_t atMs, std::function<void()> work) {
    due_.emplace(std::max(atMs, now_), std::move(work));
}

void VirtualClock::runDue() {
    runUntil(now_);
}

void VirtualClock::runUntil(std::int64_t t) {
    // Work may schedule more work; keep taking the earliest item until none is due by t.
    while (!due_.empty() && due_.begin()->first <= t) {
        auto it = due_.begin();
        now_ = std::max(now_, it->first);
        auto work = std::move(it->second);
        due_.erase(it);
        work();
    }
    now_ = std::max(now_, t);
}

}  // namespace ca
