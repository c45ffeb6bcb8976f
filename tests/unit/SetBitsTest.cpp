// The generic-array scope puts back every array it switched off, up to the 32nd that a driver may
// offer: walking the bits must reach bit 31 and stop there.

#include "gfx/GenericArraysOff.h"

#include <gtest/gtest.h>

#include <vector>

TEST(SetBits, EveryBitUpToTheThirtySecondIsVisitedOnceInOrder)
{
    const auto visited = [](uint32_t bits) {
        std::vector<uint32_t> seen;
        ForEachSetBit(bits, [&seen](uint32_t i) { seen.push_back(i); });
        return seen;
    };
    EXPECT_EQ(visited(0u), std::vector<uint32_t>());
    EXPECT_EQ(visited(0x80000001u), std::vector<uint32_t>({0, 31}));
    EXPECT_EQ(visited(0xFFFFFFFFu).size(), 32u);
    EXPECT_EQ(visited(0x00010100u), std::vector<uint32_t>({8, 16}));
}
