// The render scale, and the drawing-state record that spares the frame its queries to the driver.

#include "gl/GlTest.h"

#include "base/SaverFrame.h"
#include "gfx/DrawingState.h"
#include "gfx/FittedCopy.h"
#include "gfx/FixedCamera.h"
#include "gfx/Framebuffers.h"
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
#include <string>

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

// The picture a cover copy is tried with: green left half, blue right half.
void PaintHalves()
{
    SetSwitch(GL_SCISSOR_TEST, true);
    glScissor(0, 0, kHalfWidth, kViewHeight);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glScissor(kHalfWidth, 0, kHalfWidth, kViewHeight);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glScissor(0, 0, kViewWidth, kViewHeight);
    SetSwitch(GL_SCISSOR_TEST, false);
}

// That picture halved into the lower left of the view, black around it.
void ExpectHalvesInTheLowerLeft()
{
    const auto at = [](int x, int y) {
        const Rgb pixel = ReadPixel(x, y);
        return std::to_string(pixel.r) + "," + std::to_string(pixel.g) + "," + std::to_string(pixel.b);
    };
    EXPECT_EQ(at(kHalfWidth / 4, kHalfHeight / 2), "0,255,0");
    EXPECT_EQ(at(kHalfWidth * 3 / 4, kHalfHeight / 2), "0,0,255");
    EXPECT_EQ(at(kHalfWidth + 10, kHalfHeight / 2), "0,0,0");
    EXPECT_EQ(at(kHalfWidth / 4, kHalfHeight + 10), "0,0,0");
}

// The frame drawn through the render scale, read back at the view's size.
std::vector<unsigned char> ScaledFrame(ScaledDrawing& scaled, Horizon& horizon, FormlessPlanet& planet, bool plain)
{
    scaled.Begin();
    DrawSky(horizon, planet, plain);
    scaled.End(false);
    return ReadView();
}

// What a linear upscale of `half` (width x height, RGBA) to twice its size gives at pixel (x, y) of the
// view, channel `c`: each view pixel's centre mapped into the half-size picture, clamped to its
// edge texels.
double Upscaled(const std::vector<unsigned char>& half, int width, int height, int x, int y, int c)
{
    const double u = std::clamp((x + 0.5) / 2.0 - 0.5, 0.0, width - 1.0);
    const double v = std::clamp((y + 0.5) / 2.0 - 0.5, 0.0, height - 1.0);
    const int u0 = static_cast<int>(u), v0 = static_cast<int>(v);
    const int u1 = std::min(u0 + 1, width - 1), v1 = std::min(v0 + 1, height - 1);
    const double fu = u - u0, fv = v - v0;
    const auto at = [&half, width, c](int i, int j) { return static_cast<double>(half[(j * width + i) * 4 + c]); };
    return (at(u0, v0) * (1 - fu) + at(u1, v0) * fu) * (1 - fv) + (at(u0, v1) * (1 - fu) + at(u1, v1) * fu) * fv;
}
} // namespace

TEST(ScaledDrawing, AtHalfScaleTheViewIsTheHalfSizePictureScaledUpUnderASharpOverlay)
{
    if (!FramebuffersOffered())
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
                worst = std::max(worst, std::abs(view[(y * kViewWidth + x) * 4 + c] - Upscaled(half, kHalfWidth, kHalfHeight, x, y, c)));
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
    // A read binding left behind by a direct call is seen as one.
    if (FramebuffersOffered()) {
        GLuint other = 0;
        glGenFramebuffers(1, &other);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, other);
        EXPECT_EQ(DrawingStateDifferences(), "read framebuffer\n");
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &other);
    }
}

TEST(ScaledDrawing, AResizeOfTheHeightAloneGivesBuffersOfTheNewShape)
{
    if (!FramebuffersOffered())
        GTEST_SKIP() << "no framebuffer objects";
    ApplyFixedCamera();
    SetTextureEnvironment(GL_REPLACE);
    Horizon horizon;
    FormlessPlanet planet;
    ASSERT_TRUE(planet.valid);
    ScaledDrawing scaled(0.5);
    ScaledFrame(scaled, horizon, planet, true);
    // The area loses its top half; the scaled picture drawn then must be the same as the one
    // drawn straight into the smaller area, scaled up the same way.
    MoveToArea(0, 0, kViewWidth, kHalfHeight);
    glClear(GL_COLOR_BUFFER_BIT);
    const std::vector<unsigned char> view = ScaledFrame(scaled, horizon, planet, true);
    SetViewport(0, 0, kHalfWidth, kHalfHeight / 2);
    DrawSky(horizon, planet, true);
    std::vector<unsigned char> half(static_cast<size_t>(kHalfWidth) * kHalfHeight / 2 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kHalfWidth, kHalfHeight / 2, GL_RGBA, GL_UNSIGNED_BYTE, half.data());
    double worst = 0.0;
    for (int y = 0; y < kHalfHeight; ++y)
        for (int x = 0; x < kViewWidth; ++x)
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::abs(view[(y * kViewWidth + x) * 4 + c] -
                                                 Upscaled(half, kHalfWidth, kHalfHeight / 2, x, y, c)));
    EXPECT_LE(worst, 2.0);
    MoveToArea(0, 0, kViewWidth, kViewHeight);
    // A scale that rounds to the area's own size draws straight into the window.
    ScaledDrawing nearlyWhole(0.999999);
    nearlyWhole.Begin();
    EXPECT_EQ(Drawing().framebuffer, 0u);
    nearlyWhole.End(false);
}

// A window with several samples a pixel (a multisampled visual, or a driver's forced
// antialiasing): a framebuffer blit cannot scale into it or out of it.
TEST(ScaledDrawing, AMultisampledWindowGetsTheScaledPictureAndItsCopies)
{
    if (!FramebuffersOffered())
        GTEST_SKIP() << "no framebuffer objects";
    // The picture in a window of one sample a pixel, to compare with.
    ApplyFixedCamera();
    SetTextureEnvironment(GL_REPLACE);
    std::vector<unsigned char> single;
    {
        SeedRandom(5);
        Horizon horizon;
        FormlessPlanet planet;
        ScaledDrawing scaled(0.5);
        single = ScaledFrame(scaled, horizon, planet, true);
    }
    if (!UseMultisampledWindows(0, 0))
        GTEST_SKIP() << "no multisampled visual";
    // Back to the test context however the test ends; the objects below go first, while their own
    // context is current.
    struct BackToTestWindow {
        ~BackToTestWindow() { UseTestWindow(); }
    } back;
    ApplyFixedCamera();
    SetTextureEnvironment(GL_REPLACE);
    {
        SeedRandom(5);
        Horizon horizon;
        FormlessPlanet planet;
        ScaledDrawing scaled(0.5);
        // Red where nothing reached the window.
        glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        const std::vector<unsigned char> sampled = ScaledFrame(scaled, horizon, planet, true);
        int worst = 0;
        for (size_t i = 0; i < single.size(); ++i)
            if (i % 4 != 3)
                worst = std::max(worst, std::abs(single[i] - sampled[i]));
        // Drawn as a textured quad instead of blitted: the same filtering, rounded its own way.
        EXPECT_LE(worst, 2);
        EXPECT_EQ(DrawingStateDifferences(), "");
    }
    // A cover of another shape: the window's picture (green left half, blue right half) halved
    // into its lower left, black around it.
    ASSERT_TRUE(UseMultisampledWindows(1, 1));
    PaintHalves();
    ASSERT_TRUE(UseMultisampledWindows(0, 1));
    {
        FittedCopy copy;
        ASSERT_TRUE(copy.Draw({0, 0, kViewWidth, kViewHeight}, kHalfWidth, kHalfHeight));
        EXPECT_EQ(DrawingStateDifferences(), "");
    }
    ASSERT_TRUE(UseMultisampledWindows(0, 0));
    ExpectHalvesInTheLowerLeft();
}

// A cover of another shape gets the window's picture (green left half, blue right half) halved
// into its lower left, black around it, whatever the scene left switched on: blitted with
// framebuffer objects, copied through the pixel path without them (gl.linux-gl21, where the driver
// offers OpenGL 2.1 and nothing more).
TEST(FittedCopy, ACoverGetsThePictureFittedWithOrWithoutFramebufferObjects)
{
    if (std::getenv("MORROWMERE_TEST_NO_FRAMEBUFFERS") != nullptr) {
        ASSERT_FALSE(FramebuffersOffered()) << "the driver still offers framebuffer objects";
    }
#ifdef _WIN32
    GTEST_SKIP() << "covers are drawn from another window on Linux only";
#endif
    ASSERT_TRUE(UseTestWindows(1, 1));
    PaintHalves();
    ASSERT_TRUE(UseTestWindows(0, 1));
    // The scene's state: blending that would keep the black, and a depth test nothing passes.
    SetSwitch(GL_BLEND, true);
    glBlendFunc(GL_ZERO, GL_ONE);
    SetSwitch(GL_DEPTH_TEST, true);
    glDepthFunc(GL_NEVER);
    {
        FittedCopy copy;
        ASSERT_TRUE(copy.Draw({0, 0, kViewWidth, kViewHeight}, kHalfWidth, kHalfHeight));
        EXPECT_EQ(DrawingStateDifferences(), "");
    }
    glBlendFunc(GL_ONE, GL_ZERO);
    glDepthFunc(GL_LESS);
    SetSwitch(GL_BLEND, false);
    SetSwitch(GL_DEPTH_TEST, false);
    ASSERT_TRUE(UseTestWindows(0, 0));
    ExpectHalvesInTheLowerLeft();
    UseTestWindow();
}
