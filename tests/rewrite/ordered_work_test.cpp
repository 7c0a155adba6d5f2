#include "rewrite/carried_states.h"
#include "rewrite/ordered_work.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace faultward {
namespace {

// Items that take uneven times, so later ones often finish first.
void unevenWork(int item) {
    std::this_thread::sleep_for(std::chrono::microseconds((item * 7919) % 500));
}

TEST(OrderedWork, followsEveryItemInOrderOnTheCallingThreadAfterItsWork) {
    for (const int workers : {1, 2, 5}) {
        constexpr int kItems = 200;
        std::vector<std::atomic<bool>> done(kItems);
        std::vector<std::string> heard;
        const auto caller = std::this_thread::get_id();
        runInOrder(
            kItems, workers,
            [&](int thread, int item) {
                EXPECT_GE(thread, 0);
                EXPECT_LT(thread, workers);
                unevenWork(item);
                done[static_cast<std::size_t>(item)] = true;
            },
            [&](int item) {
                EXPECT_EQ(std::this_thread::get_id(), caller);
                heard.push_back("started " + std::to_string(item));
            },
            [&](int item) {
                EXPECT_TRUE(done[static_cast<std::size_t>(item)]);
                heard.push_back("finished " + std::to_string(item));
            });
        ASSERT_EQ(heard.size(), 2u * kItems);
        for (int item = 0; item < kItems; ++item) {
            EXPECT_EQ(heard[2 * static_cast<std::size_t>(item)], "started " + std::to_string(item));
            EXPECT_EQ(heard[2 * static_cast<std::size_t>(item) + 1],
                      "finished " + std::to_string(item));
        }
    }
}

// The failure surfaces in its turn, and no thread is still working once the
// call is over.
TEST(OrderedWork, exceptionComesOutInItsTurnAfterTheThreadsHaveStopped) {
    std::atomic<int> working{0};
    std::vector<int> finished;
    EXPECT_THROW(runInOrder(
                     100, 3,
                     [&](int, int item) {
                         ++working;
                         unevenWork(item);
                         --working;
                         if (item == 57)
                             throw std::runtime_error("item 57");
                     },
                     [](int) {}, [&](int item) { finished.push_back(item); }),
                 std::runtime_error);
    EXPECT_EQ(working, 0);
    ASSERT_EQ(finished.size(), 57u);
    EXPECT_EQ(finished.back(), 56);
}

// Items that wait for every item before them, as a file waits for the name
// the files before it leave: a failure must not leave any of them waiting
// for an item no thread will do.
TEST(OrderedWork, failureStillLetsItemsThatWaitForEarlierOnesFinish) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        constexpr int kItems = 300;
        CarriedStates states(kItems);
        EXPECT_THROW(runInOrder(
                         kItems, 3,
                         [&](int, int item) {
                             if (item % 7 == 3)
                                 states.waitFor(item);
                             states.settle(item, nullptr);
                             if (item == 40 + attempt)
                                 throw std::runtime_error("failed");
                         },
                         [](int) {}, [](int) {}),
                     std::runtime_error);
    }
}

InsertionState named(const std::string& name) {
    return InsertionState{name, false};
}

TEST(CarriedStates, eachEntryStartsFromTheLastOwnStateBeforeItWhateverOrderTheySettleIn) {
    CarriedStates states(5);
    InsertionState state;
    EXPECT_TRUE(states.knownFor(0, state));
    EXPECT_EQ(state.name, "");
    const InsertionState second = named("Second");
    states.settle(2, &second);
    states.settle(3, nullptr);
    EXPECT_FALSE(states.knownFor(3, state));

    InsertionState waited;
    std::thread waiter([&] { waited = states.waitFor(4); });
    const InsertionState first = named("First");
    states.settle(1, &first);
    states.settle(0, nullptr);
    waiter.join();
    EXPECT_EQ(waited.name, "Second");
    ASSERT_TRUE(states.knownFor(2, state));
    EXPECT_EQ(state.name, "First");
    ASSERT_TRUE(states.knownFor(1, state));
    EXPECT_EQ(state.name, "");
}

} // namespace
} // namespace faultward
