// The bounds of the connections served at once: per peer address and in all.

#include "engine/ServingSlots.h"

#include <gtest/gtest.h>

namespace {

const ULONG A = 0x0200000A;  // 10.0.0.2 in network order
const ULONG B = 0x0300000A;
const ULONG C = 0x0400000A;

TEST(ServingSlots, OneAddressTakesAtMostItsShareAndAllTogetherAtMostTheWhole)
{
    ServingSlots slots(2, 3);
    struct Step {
        bool take;  // false: give
        ULONG address;
        bool taken;
    } steps[] = {
        {true, A, true},  {true, A, true},  {true, A, false},  // A's share is full
        {true, B, true},  {true, C, false},  // the whole is full, though C has none
        {false, A, true}, {true, C, true},  // A's slot went to C
        {true, A, false},  // the whole is full again
        {false, C, true}, {true, A, true},  // C's slot went to A
        {false, B, true}, {false, B, true},  // a second give of B's one slot changes nothing:
        {true, B, true},  {true, B, false},  // the whole is full after one take
    };
    for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
        if (steps[i].take)
            EXPECT_EQ(steps[i].taken, slots.take(steps[i].address)) << "step " << i;
        else
            slots.give(steps[i].address);
    }
}

}  // namespace
