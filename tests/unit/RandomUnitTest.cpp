#include <gtest/gtest.h>

#include "gfx/RandomUnit.h"

// Expected values worked out by hand from state = state * 214013 + 2531011 (mod 2^32),
// value = (state >> 16) & 0x7FFF. For seed 1 the first state is 2745024, and 2745024 >> 16 = 41.
TEST(RandomUnit, SequenceAfterKnownSeeds)
{
    SeedRandom(1);
    for (int expected : {41, 18467, 6334, 26500, 19169})
        EXPECT_EQ(expected, NextRandom15());

    // 0xFFFFFFFF * 214013 + 2531011 wraps to 2316998, and 2316998 >> 16 = 35.
    SeedRandom(0xFFFFFFFFu);
    for (int expected : {35, 29739, 3374})
        EXPECT_EQ(expected, NextRandom15());
}

TEST(RandomUnit, ReseedingRestartsTheSequence)
{
    SeedRandom(1796601600u);
    const double first = RandomUnit();
    const double second = RandomUnit();
    SeedRandom(1796601600u);
    EXPECT_EQ(first, RandomUnit());
    EXPECT_EQ(second, RandomUnit());
    EXPECT_EQ(31104 / 32767.0, first);
}

TEST(RandomUnit, ReachesBothEndsOfTheUnitInterval)
{
    // Seeds found by inverting the step for the next states 0x00000000 and 0x7FFF0000.
    SeedRandom(2708534849u);
    EXPECT_EQ(0.0, RandomUnit());
    SeedRandom(4028364353u);
    EXPECT_EQ(1.0, RandomUnit());
    // Next state 0xFFFF0000: the top bit is not part of the 15-bit value.
    SeedRandom(1880880705u);
    EXPECT_EQ(1.0, RandomUnit());
}
