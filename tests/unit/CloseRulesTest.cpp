#include <gtest/gtest.h>

#include "host/CloseRules.h"

#include <climits>

TEST(CloseRules, MouseMovesCloseBeyondFourPixelsOfManhattanDistance)
{
    EXPECT_FALSE(MouseMoveCloses(100, 100, 103, 101));
    EXPECT_TRUE(MouseMoveCloses(100, 100, 103, 102));
    EXPECT_FALSE(MouseMoveCloses(100, 100, 96, 100));
    EXPECT_TRUE(MouseMoveCloses(100, 100, 95, 100));
    EXPECT_FALSE(MouseMoveCloses(100, 100, 98, 98));
    EXPECT_TRUE(MouseMoveCloses(100, 100, 98, 97));
    EXPECT_FALSE(MouseMoveCloses(-5, -5, -5, -5));
    // Far-apart positions on a huge virtual screen do not overflow into "no move".
    EXPECT_TRUE(MouseMoveCloses(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
}

TEST(CloseRules, PowerBroadcastEvents)
{
    for (uintptr_t event : {0u, 1u, 2u, 3u, 4u, 5u, 9u, 11u, 12u, 17u, 19u, 0x8013u})
        EXPECT_EQ(PowerAction::Close, ClassifyPowerBroadcast(event, 0)) << event;
    for (uintptr_t event : {6u, 7u, 8u, 18u}) {
        EXPECT_EQ(PowerAction::Close, ClassifyPowerBroadcast(event, 0)) << event;
        EXPECT_EQ(PowerAction::Close, ClassifyPowerBroadcast(event, 2)) << event;
        EXPECT_EQ(PowerAction::Ignore, ClassifyPowerBroadcast(event, 1)) << event;
        EXPECT_EQ(PowerAction::Ignore, ClassifyPowerBroadcast(event, 3)) << event;
    }
    EXPECT_EQ(PowerAction::CheckMains, ClassifyPowerBroadcast(10, 0));
    EXPECT_EQ(PowerAction::CheckMains, ClassifyPowerBroadcast(10, 1));
}
