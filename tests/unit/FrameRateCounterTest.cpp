#include <gtest/gtest.h>

#include "host/FrameRateCounter.h"

#include <string>

TEST(FrameRateCounter, FirstFrameShowsDashesAndTheSecondTheRate)
{
    FrameRateCounter counter;
    EXPECT_EQ(std::string("---"), counter.Measure(5000));
    EXPECT_EQ(-1.0, counter.AverageRate());
    // Samples 0 and 20 ms: mean 10 ms.
    EXPECT_EQ(std::string("FPS : 100"), counter.Measure(5020));
    EXPECT_DOUBLE_EQ(100.0, counter.AverageRate());
}

TEST(FrameRateCounter, APauseIsNoFrame)
{
    FrameRateCounter counter;
    counter.Resumed(100); // before any frame: still none
    EXPECT_EQ(std::string("---"), counter.Measure(5000));
    counter.Measure(5020);
    // Ten minutes unseen, then frames of 20 ms again.
    counter.Resumed(605020);
    EXPECT_EQ(std::string("FPS : 100"), counter.Measure(605030));
    EXPECT_EQ(std::string("FPS : 80"), counter.Measure(605050));
}

TEST(FrameRateCounter, ZeroMillisecondFramesShowDashesAndCountInTheMean)
{
    FrameRateCounter counter;
    EXPECT_EQ(-1.0, counter.AverageRate()) << "never measured";
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(std::string("---"), counter.Measure(777));
    EXPECT_EQ(-1.0, counter.AverageRate());
    // 50 samples of 0 ms and one of 51 ms: a mean of 1 ms.
    EXPECT_EQ(std::string("FPS : 1000"), counter.Measure(777 + 51));
}

TEST(FrameRateCounter, ExactMeanForAThousandFramesThenAnExponentialAverage)
{
    FrameRateCounter counter;
    uint32_t now = 0xFFFFFF00u; // the tick wraps during the run
    counter.Measure(now);
    for (int i = 1; i < 1000; ++i)
        counter.Measure(now += 16);
    // (0 + 999 * 16) / 1000
    EXPECT_NEAR(1000.0 / 15.984, counter.AverageRate(), 1e-9);
    // From now on each frame weighs 1/1000.
    counter.Measure(now += 1016);
    EXPECT_NEAR(1000.0 / (15.984 + (1016 - 15.984) / 1000), counter.AverageRate(), 1e-9);
}
