#include "core/ReplyBudget.h"

#include <gtest/gtest.h>

namespace {

const ULONG FIRST = 0x0A4D0001;
const ULONG SECOND = 0x0A4D0002;

// How many of count replies to address at nowMs the budget lets go.
int taken(ReplyBudget& budget, ULONG address, DWORD nowMs, int count)
{
    int granted = 0;
    for (int i = 0; i < count; ++i)
        granted += budget.take(address, nowMs) ? 1 : 0;
    return granted;
}

TEST(ReplyBudget, LetsABurstGoThenTheRateAndKeepsAddressesApart)
{
    // Starts just before the tick wraps, so that the refill counts across it.
    const DWORD start = 0xFFFFFF00u;
    ReplyBudget budget(4, 3, 2);
    EXPECT_EQ(3, taken(budget, FIRST, start, 10));
    EXPECT_EQ(3, taken(budget, SECOND, start, 10));
    EXPECT_EQ(0, taken(budget, FIRST, start + 400, 10));
    EXPECT_EQ(1, taken(budget, FIRST, start + 500, 10));
    EXPECT_EQ(2, taken(budget, FIRST, start + 1500, 10));
    // Refilled to the burst at most, however long the pause.
    EXPECT_EQ(3, taken(budget, FIRST, start + 60000, 10));
}

TEST(ReplyBudget, ForgetsTheAddressLeastRecentlyRepliedToWhenTheTableIsFull)
{
    ReplyBudget budget(2, 1, 1);
    EXPECT_EQ(1, taken(budget, FIRST, 0, 2));
    EXPECT_EQ(1, taken(budget, SECOND, 10, 2));
    EXPECT_EQ(0, taken(budget, FIRST, 20, 1));  // FIRST is now the more recent
    EXPECT_EQ(1, taken(budget, 0x0A4D0003, 30, 2));
    // SECOND made room: it starts again with a full bucket. The third kept its spent one.
    EXPECT_EQ(1, taken(budget, SECOND, 40, 2));
    EXPECT_EQ(0, taken(budget, 0x0A4D0003, 50, 1));
}

}  // namespace
