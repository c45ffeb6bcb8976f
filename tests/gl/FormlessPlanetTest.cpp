// The formless planet on a real context: its two textures as uploaded, the exact draws of its
// Update for seeds that force each branch, and its picture through the fixed camera.

#include "gl/GlTest.h"

#include "gfx/DrawingState.h"
#include "gfx/BitmapPixels.h"
#include "gfx/FixedCamera.h"
#include "gfx/RandomUnit.h"
#include "scene/FormlessPlanet.h"
#include "scene/Horizon.h"
#include "support/RandomSeeds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr double kPi = 3.1415926;

// The glow and disc values at texel (i, j), from the planet's written rules.
double Glow(int i, int j)
{
    const double r = std::hypot(i * 0.03125 - 1.0, j * 0.03125 - 1.0);
    return r <= 1.0 ? 1.0 + std::cos(r * kPi) : 0.0;
}

int DiscAlpha(int i, int j)
{
    const double r = std::hypot(i * 0.015625 - 1.0, j * 0.015625 - 1.0);
    return r > 1.0 ? 0 : r > 0.9 ? static_cast<int>((1.0 - r) * 2550.0) : 255;
}

std::vector<uint8_t> TextureBytes(uint32_t texture, GLenum format, size_t size)
{
    std::vector<uint8_t> bytes(size);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, bytes.data());
    return bytes;
}

// The k-th 15-bit draw after `seed` as the unit value the planet sees.
double Unit(uint32_t seed, int k)
{
    return DrawAfter(seed, k) / 32767.0;
}

// True when the random source has made exactly `count` draws since it was seeded with `seed`.
::testing::AssertionResult MadeDraws(uint32_t seed, int count)
{
    const int next = NextRandom15(), after = NextRandom15();
    if (next == DrawAfter(seed, count) && after == DrawAfter(seed, count + 1))
        return ::testing::AssertionSuccess();
    for (int made = 0; made < 12; ++made)
        if (next == DrawAfter(seed, made) && after == DrawAfter(seed, made + 1))
            return ::testing::AssertionFailure() << made << " draws, not " << count;
    return ::testing::AssertionFailure() << "not " << count << " draws";
}

// The child that the written rule makes of `parent` from the draws u2, u3, u4 (and u5 for the core).
PlanetParticle Child(const PlanetParticle& parent, double u2, double u3, double u4, double u5)
{
    const double size = (0.4 * u2 + 0.6) * parent.size;
    const double step = u3 * parent.size * 0.2;
    const Vec3 radial = parent.position - PlanetCentre;
    const double length = std::hypot(radial.x, radial.y);
    // Counter-clockwise as the camera sees it.
    const double angle = length == 0.0 ? u5 * 6.2831852 : std::atan2(radial.y, radial.x) + (u4 - 0.5);
    const Vec3 offset(step * std::cos(angle), step * std::sin(angle), 0.0);
    return {0.0, size * 3000.0, size, parent.position + offset};
}

::testing::AssertionResult Same(const PlanetParticle& a, const PlanetParticle& b)
{
    const double e = 1e-12;
    if (a.age == b.age && std::fabs(a.lifetime - b.lifetime) < 1e-9 && std::fabs(a.size - b.size) < e &&
        std::fabs(a.position.x - b.position.x) < e && std::fabs(a.position.y - b.position.y) < e &&
        std::fabs(a.position.z - b.position.z) < e)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "{" << a.age << ", " << a.lifetime << ", " << a.size << ", ("
                                         << a.position.x << ", " << a.position.y << ", " << a.position.z
                                         << ")} is not {" << b.age << ", " << b.lifetime << ", " << b.size << ", ("
                                         << b.position.x << ", " << b.position.y << ", " << b.position.z << ")}";
}

// Draws at most 0.7 of the range start a birth.
constexpr int kMostForBirth = 22936;
} // namespace

TEST(FormlessPlanet, BuildsItsTexturesAndItsCoreWithItsRecords)
{
    StartTestLog();
    FormlessPlanet planet;
    ASSERT_TRUE(planet.valid);
    EXPECT_EQ(TestLogRecords(), (std::vector<std::string>{"   Notify : Start initialization for the formless planet",
                                                          "   Notify : Bitmap is loaded",
                                                          "   Notify : The formless planet is initialized properly"}));
    ASSERT_EQ(planet.particles.size(), 1u);
    EXPECT_TRUE(Same(planet.particles[0], {0.0, -1.0, 2.0, Vec3(0.2, 3.0, -20.0)}));

    // The glow, clamped to [0, 1]: opaque at the centre and out to r = 0.5, nothing from the rim on.
    const std::vector<uint8_t> glow = TextureBytes(planet.glowTexture, GL_ALPHA, 64 * 64);
    EXPECT_EQ(glow[32 * 64 + 32], 255);
    EXPECT_EQ(glow[48 * 64 + 32], 255) << "r = 0.5";
    EXPECT_EQ(glow[0 * 64 + 32], 0) << "r = 1";
    int glowOff = 0;
    for (int i = 0; i < 64; ++i)
        for (int j = 0; j < 64; ++j)
            glowOff += std::abs(glow[i * 64 + j] - std::lround(std::min(Glow(i, j), 1.0) * 255.0)) > 1;
    EXPECT_EQ(glowOff, 0);
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &value);
    EXPECT_EQ(value, GL_ALPHA8);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);

    // The disc: the picture's colours as they are, its alpha the circular mask.
    std::vector<uint8_t> picture;
    ASSERT_TRUE(ReadBitmapResource(130, 128, 128, picture));
    const std::vector<uint8_t> disc = TextureBytes(planet.discTexture, GL_BGRA, picture.size());
    EXPECT_EQ(disc[(64 * 128 + 64) * 4 + 3], 255);
    EXPECT_EQ(disc[(122 * 128 + 64) * 4 + 3], 239) << "r = 0.906";
    EXPECT_EQ(disc[(125 * 128 + 64) * 4 + 3], 119) << "r = 0.953";
    EXPECT_EQ(disc[(0 * 128 + 64) * 4 + 3], 0) << "r = 1";
    int discOff = 0;
    for (int i = 0; i < 128; ++i)
        for (int j = 0; j < 128; ++j)
            for (int c = 0; c < 4; ++c) {
                const size_t at = (static_cast<size_t>(i) * 128 + j) * 4 + c;
                discOff += disc[at] != (c == 3 ? DiscAlpha(i, j) : picture[at]);
            }
    EXPECT_EQ(discOff, 0);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &value);
    EXPECT_EQ(value, GL_RGBA16);
}

TEST(FormlessPlanet, UpdateDrawsAndBuildsExactlyAsWritten)
{
    FormlessPlanet planet;
    ASSERT_TRUE(planet.valid);
    const PlanetParticle core = planet.particles[0];

    // No birth: u0 above 0.7 is the only draw, and the core never ages.
    uint32_t seed = SeedForDraws({30000});
    SeedRandom(seed);
    planet.Update(5000);
    EXPECT_TRUE(MadeDraws(seed, 1));
    ASSERT_EQ(planet.particles.size(), 1u);
    EXPECT_TRUE(Same(planet.particles[0], core));

    // A child of the core: u0 to u5, in any direction.
    seed = SeedWhere(1, [](const std::vector<int>& d) { return d[0] <= kMostForBirth; });
    SeedRandom(seed);
    planet.Update(16);
    EXPECT_TRUE(MadeDraws(seed, 6));
    ASSERT_EQ(planet.particles.size(), 2u);
    EXPECT_TRUE(Same(planet.particles[1], Child(core, Unit(seed, 2), Unit(seed, 3), Unit(seed, 4), Unit(seed, 5))));

    // A child of that child: u0 to u4, no closer to the centre, at most 0.5 rad off the radial.
    seed = SeedWhere(2, [](const std::vector<int>& d) { return d[0] <= kMostForBirth && d[1] >= 16384; });
    SeedRandom(seed);
    planet.Update(16);
    EXPECT_TRUE(MadeDraws(seed, 5));
    ASSERT_EQ(planet.particles.size(), 3u);
    const PlanetParticle parent = planet.particles[1];
    EXPECT_EQ(parent.age, 16.0);
    const PlanetParticle& child = planet.particles[2];
    EXPECT_TRUE(Same(child, Child(parent, Unit(seed, 2), Unit(seed, 3), Unit(seed, 4), 0.0)));
    const Vec3 radial = parent.position - PlanetCentre, step = child.position - parent.position;
    EXPECT_GE((child.position - PlanetCentre).Length(), radial.Length());
    EXPECT_LE(std::acos(radial.Dot(step) / (radial.Length() * step.Length())), 0.5 + 1e-12);

    // u1 = 1 picks the last particle, never one beyond it.
    seed = SeedForDraws({0, 32767});
    SeedRandom(seed);
    const PlanetParticle last = planet.particles[2];
    planet.Update(0);
    EXPECT_TRUE(MadeDraws(seed, 5));
    ASSERT_EQ(planet.particles.size(), 4u);
    EXPECT_TRUE(Same(planet.particles[3], Child(last, Unit(seed, 2), Unit(seed, 3), Unit(seed, 4), 0.0)));

    // Full at 3001: u0 is drawn, nothing more, nothing born.
    SeedRandom(1);
    while (planet.particles.size() < FormlessPlanet::kMostParticles)
        planet.Update(0);
    seed = SeedWhere(1, [](const std::vector<int>& d) { return d[0] <= kMostForBirth; });
    SeedRandom(seed);
    planet.Update(0);
    EXPECT_TRUE(MadeDraws(seed, 1));
    EXPECT_EQ(planet.particles.size(), FormlessPlanet::kMostParticles);
}

TEST(FormlessPlanet, ASpritePastItsLifetimeGoesAtTheNextUpdateAndTheOthersKeepTheirOrder)
{
    FormlessPlanet planet;
    ASSERT_TRUE(planet.valid);
    for (double size : {0.1, 0.05, 0.2})
        planet.particles.push_back({0.0, size * 3000.0, size, Vec3(size, 3.0, -20.0)});
    const uint32_t noBirth = SeedForDraws({30000});
    SeedRandom(noBirth);
    planet.Update(151); // the second sprite (150 ms) is now past its lifetime, and still there
    ASSERT_EQ(planet.particles.size(), 4u);
    SeedRandom(noBirth);
    planet.Update(151);
    ASSERT_EQ(planet.particles.size(), 3u);
    EXPECT_EQ(planet.particles[0].lifetime, -1.0);
    EXPECT_EQ(planet.particles[0].age, 0.0);
    EXPECT_EQ(planet.particles[1].size, 0.1);
    EXPECT_EQ(planet.particles[1].age, 302.0);
    EXPECT_EQ(planet.particles[2].size, 0.2);
}

TEST(FormlessPlanet, TheDiscShowsUpsideDownInItsGlowAboveTheSky)
{
    std::vector<uint8_t> picture;
    ASSERT_TRUE(ReadBitmapResource(130, 128, 128, picture));
    ApplyFixedCamera();
    SetTextureEnvironment(GL_MODULATE);
    Horizon horizon;
    FormlessPlanet planet;
    ASSERT_TRUE(planet.valid);

    // The centre (0.2, 3, -20) seen from (0, 0, 4) through 21 degrees at 4:3; the disc is a
    // square of 2 units facing the camera, so its picture maps evenly onto the view.
    const double tanHalf = std::tan(10.5 * 3.14159265358979 / 180.0);
    const double unitY = kViewHeight / 2.0 / (24.0 * tanHalf);
    const double unitX = kViewWidth / 2.0 / (24.0 * tanHalf * 1.3333333);
    const double centreX = kViewWidth / 2.0 * (1.0 + 0.2 / (24.0 * tanHalf * 1.3333333));
    const double centreY = kViewHeight / 2.0 * (1.0 + 3.0 / (24.0 * tanHalf));
    // The picture's colour (linear filtering) at the disc's point (u, v), each from -1 to 1.
    const auto pictureAt = [&](double u, double v) {
        return SampleLinear(picture, 128, 128, (u + 1.0) / 2.0, (v + 1.0) / 2.0);
    };
    // The view's pixel that shows the disc's point (u, v).
    const auto pixelOf = [&](double u, double v) {
        return std::pair<int, int>(static_cast<int>(std::floor(centreX + u * unitX)),
                                   static_cast<int>(std::floor(centreY + v * unitY)));
    };
    const auto alike = [](const Rgb& a, const Rgb& b, int tolerance) {
        return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
    };

    SeedRandom(7);
    for (int frame = 0; frame < 120; ++frame) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        horizon.Draw();
        planet.Update(16);
        planet.Draw();
    }
    // Pixel centres, as pictureAt samples them.
    for (const auto& point : {std::pair<double, double>(0.0, 0.0), {0.0, 0.5}, {-0.4, -0.3}, {0.6, 0.2}}) {
        const auto [px, py] = pixelOf(point.first, point.second);
        const double u = (px + 0.5 - centreX) / unitX, v = (py + 0.5 - centreY) / unitY;
        const Rgb seen = ReadPixel(px, py);
        // Upside down: the upper half of the disc shows the picture's lower rows (t = 0 is the top).
        const Rgb upsideDown = pictureAt(u, v), upright = pictureAt(u, -v);
        EXPECT_TRUE(alike(seen, upsideDown, 3)) << u << ", " << v << ": (" << seen.r << ", " << seen.g << ", "
                                               << seen.b << ") is not (" << upsideDown.r << ", " << upsideDown.g
                                               << ", " << upsideDown.b << ")";
        if (v != 0.0 && !alike(upsideDown, upright, 12)) {
            EXPECT_FALSE(alike(seen, upright, 3)) << "the picture is upright at " << u << ", " << v;
        }
    }
    // Outside the disc the glow is added onto the sky (as the sky shows from the second frame on).
    const double around[][2] = {{1.3, 0.0}, {-1.3, 0.0}, {0.0, 1.3}, {0.0, -1.3}};
    std::vector<Rgb> glowing;
    for (const auto& point : around) {
        const auto [px, py] = pixelOf(point[0], point[1]);
        glowing.push_back(ReadPixel(px, py));
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    horizon.Draw();
    for (size_t k = 0; k < 4; ++k) {
        const auto [px, py] = pixelOf(around[k][0], around[k][1]);
        const Rgb sky = ReadPixel(px, py);
        EXPECT_GE(glowing[k].r + glowing[k].g + glowing[k].b, sky.r + sky.g + sky.b + 6) << "no glow at " << k;
    }
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_REPLACE);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST(FormlessPlanet, ASpriteAtHalfItsLifeAddsTwoHundredthsOfWhiteWhereItsGlowIsOpaque)
{
    UseIdentityView();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    FormlessPlanet planet;
    ASSERT_TRUE(planet.valid);
    // Alone, without the core; the disc lies far outside the identity view's depth range.
    planet.particles = {{500.0, 1000.0, 0.25, Vec3(-0.5, -0.5, 0.0)}};
    planet.Draw();
    // 0.02 sin(pi / 2) of 255 is 5.1; the glow is opaque out to half the sprite's half-size (40 x
    // 30 pixels).
    for (const auto& [x, y] : {std::pair<int, int>(80, 60), {80 + 8, 60}, {80, 60 - 6}}) {
        const Rgb seen = ReadPixel(x, y);
        EXPECT_TRUE(seen.r >= 4 && seen.r <= 6 && seen.g == seen.r && seen.b == seen.r)
            << x << ", " << y << ": " << seen.r << ", " << seen.g << ", " << seen.b;
    }
    // Past the glow's rim, in the sprite's corner: nothing.
    const Rgb outside = ReadPixel(80 + 36, 60 + 27);
    EXPECT_EQ(0, outside.r + outside.g + outside.b);
}
