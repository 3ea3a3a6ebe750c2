// kfa make's photo pipeline: work on several threads, results taken in order,
// never more than a few items held, errors at their item's turn.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "kfa/OrderedWork.h"

namespace kfa {
namespace {

// Later items finish first now and then, so the order must be restored.
void Wobble(int i) {
    std::this_thread::sleep_for(std::chrono::microseconds((i * 7919) % 5 * 200));
}

struct Jobs {
    const char* Name;
    int Jobs, Ahead;
};

class OrderedWork : public testing::TestWithParam<Jobs> {};

TEST_P(OrderedWork, TakesEveryResultInOrderHoldingNoMoreThanAhead) {
    const auto [name, jobs, ahead] = GetParam();
    (void)name;
    constexpr int kCount = 60;
    std::atomic<int> held = 0, most = 0;
    std::vector<int> taken;
    RunInOrder<int>(
        kCount, jobs, ahead,
        [&](int i) {
            const int now = ++held;
            int seen = most.load();
            while (now > seen && !most.compare_exchange_weak(seen, now)) {
            }
            Wobble(i);
            return i * i;
        },
        [&](int i, int&& value) {
            EXPECT_EQ(value, i * i);
            taken.push_back(i);
            --held;
        });
    std::vector<int> expected(kCount);
    for (int i = 0; i < kCount; ++i)
        expected[i] = i;
    EXPECT_EQ(taken, expected);
    EXPECT_LE(most.load(), ahead);
}

INSTANTIATE_TEST_SUITE_P(Shapes, OrderedWork,
                         testing::Values(Jobs{"OneJob", 1, 2}, Jobs{"TwoJobs", 2, 4},
                                         Jobs{"FourJobs", 4, 8}, Jobs{"AheadOfOne", 4, 1},
                                         Jobs{"MoreJobsThanAhead", 8, 3}),
                         [](const testing::TestParamInfo<Jobs>& info) { return info.param.Name; });

TEST(OrderedWorkErrors, AFailedItemStopsTheRunAtItsTurn) {
    std::vector<int> taken;
    std::atomic<int> made = 0;
    EXPECT_THROW(RunInOrder<int>(
                     40, 3, 6,
                     [&](int i) {
                         ++made;
                         Wobble(i);
                         if (i == 7 || i == 9)
                             throw std::runtime_error("item " + std::to_string(i));
                         return i;
                     },
                     [&](int i, int&&) { taken.push_back(i); }),
                 std::runtime_error);
    EXPECT_EQ(taken, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_LE(made.load(), 7 + 6);
    try {
        RunInOrder<int>(
            3, 2, 2, [](int i) -> int { throw std::runtime_error("item " + std::to_string(i)); },
            [](int, int&&) {});
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "item 0");
    }
}

TEST(OrderedWorkErrors, AFailureWhileTakingStopsTheWork) {
    std::atomic<int> made = 0;
    EXPECT_THROW(RunInOrder<int>(
                     1000, 4, 5,
                     [&](int i) {
                         ++made;
                         return i;
                     },
                     [&](int i, int&&) {
                         if (i == 3)
                             throw std::logic_error("cannot write");
                     }),
                 std::logic_error);
    EXPECT_LE(made.load(), 3 + 5);
}

TEST(OrderedWorkErrors, NothingToDo) {
    int calls = 0;
    RunInOrder<int>(
        0, 4, 8, [&](int) { return ++calls; }, [&](int, int&&) { ++calls; });
    EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace kfa
