// The render scale, and the drawing-state record that spares the frame its queries to the driver.

#include "gl/GlTest.h"

#include "base/SaverFrame.h"
#include "gfx/DrawingState.h"
#include "gfx/FixedCamera.h"
#include "gfx/RandomUnit.h"
#include "gfx/ScaledDrawing.h"
#include "host/FrameRateOverlay.h"
#include "scene/FormlessPlanet.h"
#include "scene/Horizon.h"
#include "scene/Scene.h"
#include "sound/SoundManager.h"
#include "support/RecordingMixer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
constexpr int kHalfWidth = kViewWidth / 2, kHalfHeight = kViewHeight / 2;

void DrawSky(Horizon& horizon, FormlessPlanet& planet, bool plain)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    horizon.plainDrawing = plain;
    horizon.Draw();
    planet.plainDrawing = plain;
    planet.Draw();
}

// The frame drawn through the render scale, read back at the view's size.
std::vector<unsigned char> ScaledFrame(ScaledDrawing& scaled, Horizon& horizon, FormlessPlanet& planet, bool plain)
{
    scaled.Begin();
    DrawSky(horizon, planet, plain);
    scaled.End(false);
    return ReadView();
}

// What a linear upscale of `half` (kHalfWidth x kHalfHeight, RGBA) gives at pixel (x, y) of the
// view, channel `c`: each view pixel's centre mapped into the half-size picture, clamped to its
// edge texels.
double Upscaled(const std::vector<unsigned char>& half, int x, int y, int c)
{
    const double u = std::clamp((x + 0.5) / 2.0 - 0.5, 0.0, kHalfWidth - 1.0);
    const double v = std::clamp((y + 0.5) / 2.0 - 0.5, 0.0, kHalfHeight - 1.0);
    const int u0 = static_cast<int>(u), v0 = static_cast<int>(v);
    const int u1 = std::min(u0 + 1, kHalfWidth - 1), v1 = std::min(v0 + 1, kHalfHeight - 1);
    const double fu = u - u0, fv = v - v0;
    const auto at = [&half, c](int i, int j) { return static_cast<double>(half[(j * kHalfWidth + i) * 4 + c]); };
    return (at(u0, v0) * (1 - fu) + at(u1, v0) * fu) * (1 - fv) + (at(u0, v1) * (1 - fu) + at(u1, v1) * fu) * fv;
}
} // namespace

TEST(ScaledDrawing, AtHalfScaleTheViewIsTheHalfSizePictureScaledUpUnderASharpOverlay)
{
    if (!(GLEW_VERSION_3_0 || GLEW_ARB_framebuffer_object))
        GTEST_SKIP() << "no framebuffer objects";
    ApplyFixedCamera();
    SetTextureEnvironment(GL_REPLACE);
    Horizon horizon;
    FormlessPlanet planet;
    ASSERT_TRUE(planet.valid);
    SeedRandom(5);
    for (int frame = 0; frame < 300; ++frame)
        planet.Update(16);

    // Independently: the same drawing straight into the lower-left quarter of the window, with the
    // camera kept at the view's 4:3.
    SetViewport(0, 0, kHalfWidth, kHalfHeight);
    DrawSky(horizon, planet, true);
    std::vector<unsigned char> half(static_cast<size_t>(kHalfWidth) * kHalfHeight * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kHalfWidth, kHalfHeight, GL_RGBA, GL_UNSIGNED_BYTE, half.data());

    SetViewport(0, 0, kViewWidth, kViewHeight);
    ScaledDrawing scaled(0.5);
    const std::vector<unsigned char> view = ScaledFrame(scaled, horizon, planet, true);
    double worst = 0.0;
    for (int y = 0; y < kViewHeight; ++y)
        for (int x = 0; x < kViewWidth; ++x)
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::abs(view[(y * kViewWidth + x) * 4 + c] - Upscaled(half, x, y, c)));
    // The driver weighs the four texels in steps of 1/256 and rounds once more.
    EXPECT_LE(worst, 2.0);
    EXPECT_TRUE(std::equal(Drawing().viewport, Drawing().viewport + 4, std::vector<GLint>{0, 0, kViewWidth, kViewHeight}.begin()))
        << "the view's viewport is back";
    EXPECT_EQ(Drawing().framebuffer, 0u);
    EXPECT_EQ(DrawingStateDifferences(), "");

    // The horizon put back and the glow's savings give the pixels of the direct draw.
    ScaledFrame(scaled, horizon, planet, false);
    EXPECT_TRUE(ScaledFrame(scaled, horizon, planet, false) == view);

    // The overlay goes on afterwards at the view's own resolution: the same pixels over the
    // scaled picture as over one drawn at full size.
    const auto overlaid = [] {
        DrawFrameRateOverlay("FPS : 88.8", kViewWidth, kViewHeight);
        return ReadView();
    };
    const std::vector<unsigned char> sharp = (DrawSky(horizon, planet, true), overlaid());
    ScaledFrame(scaled, horizon, planet, true);
    const std::vector<unsigned char> over = overlaid();
    // Its text, white on black, fills the top 10 rows of the top-left tenth of the view.
    size_t compared = 0, white = 0;
    for (int y = kViewHeight - 10; y < kViewHeight; ++y)
        for (int x = 0; x < kViewWidth / 10; ++x) {
            const size_t at = (static_cast<size_t>(y) * kViewWidth + x) * 4;
            EXPECT_EQ(sharp[at], over[at]) << x << ", " << y;
            white += sharp[at] == 255 ? 1 : 0;
            ++compared;
        }
    EXPECT_GT(white, 20u);
    EXPECT_LT(white, compared / 2);
}

TEST(DrawingState, TheRecordAgreesWithTheDriverAfterEveryFrameOfTheSceneAtEitherScale)
{
    ApplyFixedCamera();
    StartTestLog();
    g_mixer = RecordingMixer();
    SoundManager sounds(nullptr, SoundChoice());
    SeedRandom(12);
    ASSERT_EQ(InitializeScene(&sounds), 0);
    EXPECT_EQ(DrawingStateDifferences(), "") << "after the build";
    ScaledDrawing scaled(0.5);
    FrameClock clock;
    clock.previousTick = 0;
    clock.elapsed = 16;
    for (int frame = 1; frame <= 400; ++frame) {
        const bool half = frame > 200;
        if (half)
            scaled.Begin();
        StepScene(clock);
        if (half)
            scaled.End(false);
        const std::string differences = DrawingStateDifferences();
        ASSERT_EQ(differences, "") << "frame " << frame;
    }
    ReleaseScene();
}
