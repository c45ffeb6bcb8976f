#include "gl/GlTest.h"

#include "gfx/DrawingState.h"
#include "gfx/BitmapTexture.h"
#include "gfx/FixedCamera.h"
#include "scene/FormlessPlanet.h"
#include "scene/Horizon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kWidth = 512, kHeight = 256;

// The sky's colour where the pixel's centre meets the plane z = 0, as linear filtering samples
// it from the 4-byte pixels; scaled by `factor`. The view is kViewWidth x `height` pixels with the
// camera's `aspect`; past the picture's side edges the sky is its mirror image.
Rgb ExpectedSky(const std::vector<uint8_t>& pixels, int px, int py, double factor, int height, double aspect)
{
    // Half the view's extent on the plane: 4 units away, 21 degrees tall.
    const double halfHeight = 4.0 * std::tan(10.5 * 3.14159265358979 / 180.0);
    const double halfWidth = halfHeight * aspect;
    const double x = ((px + 0.5) / kViewWidth * 2.0 - 1.0) * halfWidth;
    const double y = ((py + 0.5) / height * 2.0 - 1.0) * halfHeight;
    double s = (x + 1.0) / 2.0;
    s = s < 0.0 ? -s : s > 1.0 ? 2.0 - s : s;
    const double t = 0.99 * (0.75 - y) / 0.75;
    return SampleLinear(pixels, kWidth, kHeight, s, t, factor);
}

::testing::AssertionResult Near(const Rgb& actual, const Rgb& expected, int tolerance)
{
    if (std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
        std::abs(actual.b - expected.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.r << ", " << actual.g << ", " << actual.b << ") is not ("
                                         << expected.r << ", " << expected.g << ", " << expected.b << ")";
}

// The grey band in the lower half of a view of kViewWidth x `height` pixels, the sky in the upper,
// checked every `step` pixels across and every 5 down.
::testing::AssertionResult ShowsHorizon(const std::vector<uint8_t>& pixels, int height, double aspect, double factor,
                                        int step)
{
    for (int py = 0; py < height; py += 5) {
        if (py == height / 2)
            continue; // the band's edge
        for (int px = 0; px < kViewWidth; px += step) {
            const Rgb expected = py < height / 2 ? Rgb{126, 126, 126}
                                                 : ExpectedSky(pixels, px, py, factor, height, aspect);
            ::testing::AssertionResult result = Near(ReadPixel(px, py), expected, py < height / 2 ? 1 : 3);
            if (!result)
                return result << " at " << px << "," << py << " with the colours scaled by " << factor;
        }
    }
    return ::testing::AssertionSuccess();
}

// A red square around the view's centre, counter-clockwise towards the camera.
void DrawSquare(double z, double half)
{
    glColor3d(1.0, 0.0, 0.0);
    glBegin(GL_QUADS);
    glVertex3d(-half, -half, z);
    glVertex3d(half, -half, z);
    glVertex3d(half, half, z);
    glVertex3d(-half, half, z);
    glEnd();
}
} // namespace

TEST(Horizon, UploadsTheSkyTopRowFirstWithItsRecords)
{
    StartTestLog();
    Horizon horizon;
    ASSERT_NE(horizon.texture, 0u);
    EXPECT_EQ(TestLogRecords(), (std::vector<std::string>{"   Notify : Start initialization for the horizon image",
                                                          "   Notify : Bitmap is loaded",
                                                          "   Notify : Horizon image is initialized properly"}));
    std::vector<uint8_t> pixels;
    ASSERT_TRUE(LoadBitmapPixels(123, kWidth, kHeight, pixels));
    for (size_t i = 3; i < pixels.size(); i += 4)
        ASSERT_EQ(pixels[i], 0) << "every loaded pixel has 0 in its fourth byte";

    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<uint32_t>(bound), horizon.texture) << "the new texture stays bound";
    std::vector<uint8_t> uploaded(pixels.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, uploaded.data());
    size_t differences = 0;
    for (size_t i = 0; i < pixels.size(); ++i)
        if (i % 4 != 3 && uploaded[i] != pixels[i])
            ++differences;
    EXPECT_EQ(differences, 0u);
    // The top row (t = 0) is sky, the bottom rows are the ground grey.
    EXPECT_LT(uploaded[0] + uploaded[1] + uploaded[2], 3 * 126);
    const size_t last = (static_cast<size_t>(kHeight) - 1) * kWidth * 4;
    EXPECT_EQ((std::vector<uint8_t>{uploaded[last], uploaded[last + 1], uploaded[last + 2]}),
              (std::vector<uint8_t>{126, 126, 126}));

    GLint value = 0;
    for (GLenum parameter : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) {
        glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
        EXPECT_EQ(value, GL_CLAMP_TO_EDGE);
    }
    for (GLenum parameter : {GL_TEXTURE_MAG_FILTER, GL_TEXTURE_MIN_FILTER}) {
        glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
        EXPECT_EQ(value, GL_LINEAR);
    }
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &value);
    EXPECT_EQ(value, GL_RGB16);
}

TEST(Horizon, FillsTheViewDarkenedAtFirstInItsOwnColoursAfterThePlanetAndHidesNothingDrawnAfterIt)
{
    std::vector<uint8_t> pixels;
    ASSERT_TRUE(LoadBitmapPixels(123, kWidth, kHeight, pixels));
    ApplyFixedCamera();
    SetTextureEnvironment(GL_MODULATE);
    Horizon horizon;
    FormlessPlanet planet;

    for (double factor : {0.494, 1.0}) {
        // The first frame runs in the default mode; the second in the mode the planet left set.
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        horizon.Draw();
        ASSERT_TRUE(ShowsHorizon(pixels, kViewHeight, 1.3333333, factor, 13));
        planet.Draw();
    }

    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites);

    // Far behind the plane and close to the eye: both in front of the background.
    DrawSquare(-50.0, 5.0);
    EXPECT_TRUE(Near(ReadPixel(kViewWidth / 2, kViewHeight / 2), {255, 0, 0}, 1));
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    horizon.Draw();
    DrawSquare(3.0, 0.1);
    EXPECT_TRUE(Near(ReadPixel(kViewWidth / 2, kViewHeight / 2 + 2), {255, 0, 0}, 1));
}

TEST(Horizon, FillsAWideViewWithTheSkyMirroredPastItsSidesAndTakesBackItsOwnQuadsAt4To3)
{
    std::vector<uint8_t> pixels;
    ASSERT_TRUE(LoadBitmapPixels(123, kWidth, kHeight, pixels));
    ApplyFixedCamera();
    Horizon horizon;
    SetTextureEnvironment(GL_REPLACE);
    // The view's lower 100 rows as an area of 32:10, about as wide as the widest monitors.
    constexpr int kWideHeight = 100;
    SetViewport(0, 0, kViewWidth, kWideHeight);
    FitCameraToArea(kViewWidth, kWideHeight);
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    EXPECT_NEAR(projection[5] / projection[0], 3.2, 1e-6) << "the camera takes the area's aspect";

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    horizon.Draw();
    ASSERT_TRUE(ShowsHorizon(pixels, kWideHeight, 3.2, 1.0, 3));
    GLint wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GL_MIRRORED_REPEAT);

    SetViewport(0, 0, kViewWidth, kViewHeight);
    FitCameraToArea(kViewWidth, kViewHeight);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    EXPECT_NEAR(projection[5] / projection[0], 4.0 / 3.0, 1e-6) << "back to 4:3";
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    horizon.Draw();
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);
    ASSERT_TRUE(ShowsHorizon(pixels, kViewHeight, 1.3333333, 1.0, 13));
}
