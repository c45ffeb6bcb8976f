// The frame-rate overlay on a real context: glyphs grow with wide screens, spacing and all, and
// the OpenGL state that the scene relies on is as it was before.

#include "gl/GlTest.h"

#include "gfx/DrawingState.h"

#include "host/FrameRateOverlay.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// The white pixels at the top left of the view after drawing the overlay on a grey frame.
int WhitePixels(const char* text, int screenWidth, int screenHeight)
{
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    DrawFrameRateOverlay(text, screenWidth, screenHeight);
    const std::vector<unsigned char> pixels = ReadView();
    int white = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        white += pixels[i] == 255 && pixels[i + 1] == 255 && pixels[i + 2] == 255;
    return white;
}
} // namespace

TEST(FrameRateOverlay, GlyphsGrowWithTheScreenWithoutGaps)
{
    SetViewport(0, 0, kViewWidth, kViewHeight);
    // "8" has 17 lit pixels of its 5 x 7; "-" is a bar of 4.
    EXPECT_EQ(WhitePixels("-8", 1024, 768), 21);
    EXPECT_EQ(WhitePixels("-8", 1920, 1080), 21);
    EXPECT_EQ(WhitePixels("-8", 2048, 1536), 4 * 21) << "each glyph pixel is 2 x 2 on a screen 2048 wide";
    EXPECT_EQ(WhitePixels("-8", 3072, 2304), 9 * 21);
}

TEST(FrameRateOverlay, LeavesTheOpenGLStateAsItFoundIt)
{
    SetViewport(0, 0, kViewWidth, kViewHeight);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_SCISSOR_TEST);
    glEnable(GL_BLEND);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    glClearColor(0.1f, 0.2f, 0.3f, 0.4f);
    DrawFrameRateOverlay("FPS : 60", 2560, 1440);

    GLint alignment = 0, rowLength = -1;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
    EXPECT_EQ(alignment, 4);
    EXPECT_EQ(rowLength, 0);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLfloat clear[4] = {0, 0, 0, 0}, colour[4] = {0, 0, 0, 0};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(clear[2], 0.3f);
    EXPECT_FLOAT_EQ(clear[3], 0.4f);
    EXPECT_FLOAT_EQ(colour[1], 0.5f);
    glDisable(GL_BLEND);
    glClearColor(0, 0, 0, 0);
}
