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
