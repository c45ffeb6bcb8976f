#include <gtest/gtest.h>

#include "base/FrameCap.h"

#include <cstdint>

namespace {
// Frames shown only at a display's refresh, every `refresh` microseconds, each at the first
// refresh on or after the cap's due time: how many start in `span` microseconds.
int FramesAtRefresh(FrameCap& cap, uint64_t start, uint32_t refresh, uint64_t span)
{
    int frames = 0;
    for (uint64_t now = start; now < start + span; now += refresh) {
        if (now < cap.Due(kBatteryFrameMicroseconds))
            continue;
        cap.Started(now, kBatteryFrameMicroseconds);
        ++frames;
    }
    return frames;
}
} // namespace

TEST(FrameCap, FramesAtADisplaysRefreshAverageTheCapAndAStallStartsAfresh)
{
    FrameCap cap;
    EXPECT_EQ(cap.Due(kBatteryFrameMicroseconds), 0u) << "the first frame at once";
    // 62.5 refreshes a second: every other refresh would be 31.25 frames, every third 20.8.
    const int frames = FramesAtRefresh(cap, 1000000, 16000, 10000000);
    EXPECT_GE(frames, 299);
    EXPECT_LE(frames, 300);
    // After a stall of a second, the next frame may start at once, and no burst follows.
    const uint64_t resumed = 1000000 + 10000000 + 1000000;
    EXPECT_LE(cap.Due(kBatteryFrameMicroseconds), resumed);
    cap.Started(resumed, kBatteryFrameMicroseconds);
    EXPECT_EQ(cap.Due(kBatteryFrameMicroseconds), resumed + kBatteryFrameMicroseconds);
    // A hiccup: a frame three periods late; the next is due one period after it, no burst.
    const uint64_t late = cap.Due(kBatteryFrameMicroseconds) + 3 * kBatteryFrameMicroseconds;
    cap.Started(late, kBatteryFrameMicroseconds);
    EXPECT_EQ(cap.Due(kBatteryFrameMicroseconds), late + kBatteryFrameMicroseconds);
    // Lifted: no time to wait; capped again later, the count starts from that frame.
    EXPECT_EQ(cap.Due(0), 0u);
    cap.Started(resumed + 5000000, 0);
    cap.Started(resumed + 6000000, kBatteryFrameMicroseconds);
    EXPECT_EQ(cap.Due(kBatteryFrameMicroseconds), resumed + 6000000 + kBatteryFrameMicroseconds);
}
