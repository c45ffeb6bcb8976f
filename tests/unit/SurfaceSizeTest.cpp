#include <gtest/gtest.h>

#include "gfx/SurfaceSize.h"

namespace {
SurfaceSize Buffers(int32_t scale, int32_t preferred, bool viewports, int32_t width = 1024, int32_t height = 768)
{
    OutputShape shape;
    shape.width = width;
    shape.height = height;
    shape.modeWidth = 1536;
    shape.modeHeight = 1152;
    shape.scale = scale;
    shape.preferredScale = preferred;
    return SizeOnOutput(shape, viewports);
}
} // namespace

TEST(SurfaceSize, FractionalScalesGiveTheOutputsOwnPixelsThroughAViewport)
{
    // 150 % of 1024 x 768, where the output's integer scale says 2.
    SurfaceSize size = Buffers(2, 180, true);
    EXPECT_EQ(size.width, 1536);
    EXPECT_EQ(size.height, 1152);
    EXPECT_EQ(size.scale, 1);
    EXPECT_EQ(size.logicalWidth, 1024);
    EXPECT_EQ(size.logicalHeight, 768);
    // Rounded half away from zero: 683 x 1.25 = 853.75, 301 x 1.25 = 376.25, 2 x 1.25 = 2.5.
    size = Buffers(2, 150, true, 683, 301);
    EXPECT_EQ(size.width, 854);
    EXPECT_EQ(size.height, 376);
    EXPECT_EQ(Buffers(2, 150, true, 2, 2).width, 3);
    // Without a viewport, or before the compositor prefers a scale, the integer scale holds.
    size = Buffers(2, 180, false);
    EXPECT_EQ(size.width, 2048);
    EXPECT_EQ(size.scale, 2);
    EXPECT_EQ(size.logicalWidth, 0);
    EXPECT_EQ(Buffers(2, 0, true).width, 2048);
}

TEST(SurfaceSize, AnUnconfiguredSizeIsTheTurnedModeInWholeLogicalPixels)
{
    OutputShape shape;
    shape.modeWidth = 1365; // odd: at scale 2 a buffer of 1365 would not be whole logical pixels
    shape.modeHeight = 768;
    shape.scale = 2;
    SurfaceSize size = SizeOnOutput(shape, true);
    EXPECT_EQ(size.width, 1364);
    EXPECT_EQ(size.height, 768);
    // Turned a quarter (90 and flipped 270): portrait.
    for (int32_t transform : {1, 7}) {
        shape.transform = transform;
        size = SizeOnOutput(shape, false);
        EXPECT_EQ(size.width, 768) << transform;
        EXPECT_EQ(size.height, 1364) << transform;
    }
    shape.transform = 2; // upside down: as it was
    EXPECT_EQ(SizeOnOutput(shape, false).width, 1364);
    // At 150 % the mode's pixels are what the buffer gets back.
    shape.transform = 0;
    shape.modeWidth = 1536;
    shape.modeHeight = 1152;
    shape.preferredScale = 180;
    size = SizeOnOutput(shape, true);
    EXPECT_EQ(size.width, 1536);
    EXPECT_EQ(size.logicalWidth, 1024);
    // Nothing known yet: nothing to draw.
    EXPECT_EQ(SizeOnOutput(OutputShape(), true).width, 0);
}
