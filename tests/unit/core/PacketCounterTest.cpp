#include "core/Globals.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

namespace {

// Taken during static initialisation, before any test builds a message.
const int numberTakenAtStartUp = nextPacketNo();

TEST(PacketCounter, FirstNumberOfTheProcessIsOne)
{
    EXPECT_EQ(numberTakenAtStartUp, 1);
    int next = nextPacketNo();
    EXPECT_EQ(nextPacketNo(), next + 1);
}

TEST(PacketCounter, ThreadsNeverGetTheSameNumber)
{
    const int threadCount = 8;
    const int callsPerThread = 20000;
    std::vector<std::vector<int>> taken(threadCount);
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([&taken, t]() {
            for (int i = 0; i < callsPerThread; ++i) {
                taken[t].push_back(nextPacketNo());
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    std::set<int> distinct;
    for (const std::vector<int>& numbers : taken) {
        distinct.insert(numbers.begin(), numbers.end());
    }
    EXPECT_EQ(distinct.size(), (size_t)(threadCount * callsPerThread));
}

}  // namespace
