// The creature's wings on a real context: the spark texture, the blur's translucency from the
// sweep between the two sampled flap angles, and the sparks' births, motion and end, with their
// draws. The projection is the identity: scene (x, y) shows at pixel ((x + 1) / 2 · width,
// (y + 1) / 2 · height).

#include "gl/GlTest.h"

#include "gfx/RandomUnit.h"
#include "scene/Wing.h"
#include "support/RandomSeeds.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {
double Unit(uint32_t seed, int k)
{
    return DrawAfter(seed, k) / 32767.0;
}

// A wing hinged at the origin, its hinge axis up and its span along +x at flap angle 0.
struct WingTest : ::testing::Test {
    void SetUp() override
    {
        UseIdentityView();
        wing.SetFrame(Vec3(0.0, 0.0, 0.0), Vec3(0.0, 1.0, 0.0), Vec3(1.0, 0.0, 0.0));
    }
    Wing wing;
};
} // namespace

TEST_F(WingTest, MakesItsSparkTextureAsASoftSpotPeakingAtTexel16)
{
    float texels[32 * 32];
    glBindTexture(GL_TEXTURE_2D, wing.sparks.texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_FLOAT, texels);
    EXPECT_NEAR(0.75, texels[16 * 32 + 16], 1.0 / 255);
    EXPECT_EQ(0.0f, texels[0]);
    // Row i = 24 (x = 0.5), column j = 16 (y = 0): (1.5)^-2 - 0.25.
    EXPECT_NEAR(1.0 / 2.25 - 0.25, texels[24 * 32 + 16], 1.0 / 255);
    // The grid ends at 0.9375, still inside the spot; only the corners' distance reaches 1.
    EXPECT_NEAR(std::pow(1.9375, -2.0) - 0.25, texels[31 * 32 + 16], 1.0 / 255);
}

TEST_F(WingTest, BlurIsFainterTheWiderTheSweep)
{
    // Both membranes cover the pixel at x = 0.16 on the axis: two layers of colour C at alpha a
    // over black give C a (2 - a).
    for (int32_t dt : {0, 3}) {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        Wing flapping;
        flapping.SetFrame(Vec3(0.0, 0.0, 0.0), Vec3(0.0, 1.0, 0.0), Vec3(1.0, 0.0, 0.0));
        SeedRandom(SeedForDraws({1000}));
        flapping.Advance(dt);
        flapping.Draw();
        const double a = 0.7 * std::cos(0.9 * 0.0), b = 0.7 * std::cos(0.9 * dt);
        const double sweep = std::max(std::fabs(a - b), 0.001);
        const double alpha = 1.2 / (2.0 + sweep);
        const double cover = alpha * (2.0 - alpha);
        const Rgb pixel = ReadPixel(static_cast<int>((0.16 + 1.0) / 2.0 * kViewWidth), kViewHeight / 2);
        EXPECT_NEAR(255.0 * cover, pixel.r, 3.0) << "dt " << dt;
        EXPECT_NEAR(255.0 * 0.9 * cover, pixel.g, 3.0) << "dt " << dt;
        EXPECT_NEAR(255.0 * 0.7 * cover, pixel.b, 3.0) << "dt " << dt;
        // The body that draws next is culled again and opaque.
        EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
    }
}

TEST_F(WingTest, EmitsOneSparkPer120MillisecondsAndCatchesUpAFrameAtATime)
{
    const uint32_t seed = 4242;
    SeedRandom(seed);
    wing.Advance(500);
    wing.Draw();
    // One draw for the step, five arcs, the birth point, then the spark's five.
    EXPECT_EQ(12, DrawsSince(seed));
    ASSERT_EQ(1u, wing.sparks.particles.size());
    EXPECT_EQ(120.0, wing.sparks.lastEmission);
    const Spark& spark = wing.sparks.particles[0];
    Vec3 velocity((0.5 - Unit(seed, 7)) * 0.0015, (0.5 - Unit(seed, 8)) * 0.0015, (0.5 - Unit(seed, 9)) * 0.0015);
    velocity += (Vec3(0.0, -1e-7, 0.0) - velocity * 0.001) * 500.0;
    const Vec3 born = Vec3(1.0, 0.0, 0.0) * 0.3 * (1.0 - 2.0 * Unit(seed, 6));
    EXPECT_EQ(velocity.y, spark.velocity.y);
    EXPECT_EQ((born + velocity * 500.0).x, spark.position.x);
    EXPECT_EQ((Unit(seed, 10) * 0.7 + 0.3) * 0.992, spark.brightness);
    EXPECT_EQ(Unit(seed, 11) * 0.02 + 0.01, spark.twinkleRate);

    // Frames of no time: one more spark each until the slot is within 120 ms of 500 ms.
    const struct {
        size_t sparks;
        int draws;
    } frames[] = {{2, 12}, {3, 12}, {4, 12}, {4, 7}};
    for (const auto& frame : frames) {
        const uint32_t frameSeed = 99;
        SeedRandom(frameSeed);
        wing.Advance(0);
        wing.Draw();
        EXPECT_EQ(frame.sparks, wing.sparks.particles.size());
        EXPECT_EQ(frame.draws, DrawsSince(frameSeed));
    }
    EXPECT_EQ(480.0, wing.sparks.lastEmission);
}

TEST_F(WingTest, WingTimeWrapsAroundLikeA32BitCounter)
{
    // After about 24 days of wing time; the spark time goes on by the frame as ever.
    wing.clock = INT32_MAX - 5;
    SeedRandom(1); // a draw below 1.0
    wing.Advance(16);
    EXPECT_EQ(INT32_MAX - 5, wing.previousClock);
    EXPECT_EQ(INT32_MIN + 10, wing.clock);
    EXPECT_EQ(16.0, wing.sparks.step);
}

TEST_F(WingTest, DropsAFadedSparkAtTheDrawAfterItFadedKeepingTheOrder)
{
    wing.sparks.particles = {{Vec3(0.1, 0.0, 0.0), Vec3(), 0.5, 0.01},
                             {Vec3(0.2, 0.0, 0.0), Vec3(), 0.01005, 0.01},
                             {Vec3(0.3, 0.0, 0.0), Vec3(), 0.5, 0.01}};
    wing.sparks.Draw();
    ASSERT_EQ(3u, wing.sparks.particles.size()) << "drawn once more with brightness below 0.01";
    EXPECT_LT(wing.sparks.particles[1].brightness, 0.01);
    wing.sparks.Draw();
    ASSERT_EQ(2u, wing.sparks.particles.size());
    EXPECT_EQ(0.1, wing.sparks.particles[0].position.x);
    EXPECT_EQ(0.3, wing.sparks.particles[1].position.x);
}
