#include <gtest/gtest.h>

#include <vector>

#include "ca/util/Clock.h"

using namespace ca;

TEST(VirtualClock, SleepRunsDueWorkInTimeOrderAndAdvances) {
    VirtualClock c;
    std::vector<std::pair<int, std::int64_t>> ran;
    c.callAt(30, [&] { ran.push_back({3, c.nowMs()}); });
    c.callAt(10, [&] {
        ran.push_back({1, c.nowMs()});
        c.callAt(c.nowMs() + 5, [&] { ran.push_back({2, c.nowMs()}); });
    });
    c.callAt(100, [&] { ran.push_back({4, c.nowMs()}); });
    c.sleepMs(50);
    ASSERT_EQ(ran.size(), 3u);
    EXPECT_EQ(ran[0], (std::pair<int, std::int64_t>{1, 10}));
    EXPECT_EQ(ran[1], (std::pair<int, std::int64_t>{2, 15}));
    EXPECT_EQ(ran[2], (std::pair<int, std::int64_t>{3, 30}));
    EXPECT_EQ(c.nowMs(), 50);
    c.sleepMs(50);
    EXPECT_EQ(ran.size(), 4u);
    EXPECT_EQ(c.totalSleptMs(), 100);
}

// A pause with an idle hook (a window repainting, a simulated client running its posted work):
// the hook runs at the start and then often, but never in the last part of the pause, so a slow
// repaint cannot carry the pause past its end; the pause is never shorter than asked.
TEST(SteadyClock, IdleHookRunsAtStartAndLeavesTheEndOfThePauseFree) {
    SteadyClock c;
    std::vector<std::int64_t> calls;
    c.setIdleHook([&] { calls.push_back(c.nowMs()); });
    const std::int64_t start = c.nowMs();
    c.sleepMs(80);
    const std::int64_t end = c.nowMs();
    EXPECT_GE(end - start, 80);
    ASSERT_FALSE(calls.empty());
    // 15 ms are kept free; 5 ms of slack for a thread that is put aside on a busy machine.
    for (std::int64_t at : calls)
        EXPECT_LE(at - start, 80 - 15 + 5) << "the hook ran in the last part of the pause";
    // A pause shorter than the reserve runs the hook once, at its start.
    calls.clear();
    c.sleepMs(10);
    EXPECT_EQ(calls.size(), 1u);
}
