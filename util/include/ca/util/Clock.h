#pragma once
// The time seam. Every pause between messages to the customs client is a Clock::sleepMs, so tests
// and the demo can run the same procedures on virtual time.
#include <cstdint>
#include <functional>
#include <map>

namespace ca {

class Clock {
public:
    virtual ~Clock() = default;
    // Blocks the caller for ms milliseconds (ms <= 0 returns at once).
    virtual void sleepMs(std::int64_t ms) = 0;
    // Milliseconds since an arbitrary fixed start.
    virtual std::int64_t nowMs() const = 0;
};

// Real time. While sleeping it calls the idle hook every few milliseconds, so a window can repaint
// and a simulated client can run its posted work while an entry or download waits.
class SteadyClock : public Clock {
public:
    void sleepMs(std::int64_t ms) override;
    std::int64_t nowMs() const override;
    void setIdleHook(std::function<void()> hook) { idle_ = std::move(hook); }

private:
    std::function<void()> idle_;
};

// Virtual time: sleeping advances the time at once and runs, in time order, the work that falls
// due on the way (the simulated client's reaction to posted messages, for example).
class VirtualClock : public Clock {
public:
    void sleepMs(std::int64_t ms) override;
    std::int64_t nowMs() const override { return now_; }

    // Runs work when virtual time reaches atMs (at once on the next sleep if atMs is past).
    void callAt(std::int64_t atMs, std::function<void()> work);
    // Runs all work that is due now without advancing time.
    void runDue();
    std::int64_t totalSleptMs() const { return slept_; }

private:
    void runUntil(std::int64_t t);
    std::int64_t now_ = 0;
    std::int64_t slept_ = 0;
    std::multimap<std::int64_t, std::function<void()>> due_;
};

}  // namespace ca
