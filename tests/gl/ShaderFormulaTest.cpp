// The fragment shaders' formulas, pinned at known points: a quad over the whole view with
// constant varyings, its colour compared with the same formula worked out here.

#include "gl/GlTest.h"

#include "gfx/DrawingState.h"
#include "gfx/ShaderProgram.h"
#include "gfx/Vec2.h"
#include "gfx/Vec3.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {
struct Varyings {
    Vec2 gridPoint;
    Vec3 normal, gridX, gridY, global;
};

const Vec3 kLight(0, -1, 0);
const Vec3 kEye(0, 0, 4);

// Draws the quad with fragment shader `fragment` and returns the colour at the view's centre.
Rgb Shade(uint16_t fragment, const Varyings& in)
{
    uint32_t program = 0;
    EXPECT_EQ(CreateOGLProgram(901, fragment, program), 0);
    UseProgram(program);
    const auto set3 = [program](const char* name, const Vec3& v) {
        const GLint location = glGetAttribLocation(program, name);
        if (location != -1)
            glVertexAttrib3f(static_cast<GLuint>(location), static_cast<float>(v.x), static_cast<float>(v.y),
                             static_cast<float>(v.z));
    };
    const GLint grid = glGetAttribLocation(program, "aGridPoint");
    if (grid != -1)
        glVertexAttrib2f(static_cast<GLuint>(grid), static_cast<float>(in.gridPoint.x),
                         static_cast<float>(in.gridPoint.y));
    set3("aNormal", in.normal);
    set3("aGridX", in.gridX);
    set3("aGridY", in.gridY);
    set3("aGlobal", in.global);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glClearColor(0.2f, 0.2f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(GL_QUADS);
    glVertex2f(-1, -1);
    glVertex2f(1, -1);
    glVertex2f(1, 1);
    glVertex2f(-1, 1);
    glEnd();
    UseProgram(0);
    glClearColor(0, 0, 0, 0);
    return ReadPixel(kViewWidth / 2, kViewHeight / 2);
}

Rgb ToBytes(const Vec3& colour)
{
    const auto byte = [](double c) { return static_cast<int>(std::lround(std::clamp(c, 0.0, 1.0) * 255.0)); };
    return {byte(colour.x), byte(colour.y), byte(colour.z)};
}

::testing::AssertionResult Near(const Rgb& actual, const Rgb& expected)
{
    if (std::abs(actual.r - expected.r) <= 2 && std::abs(actual.g - expected.g) <= 2 &&
        std::abs(actual.b - expected.b) <= 2)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.r << ", " << actual.g << ", " << actual.b << ") is not ("
                                         << expected.r << ", " << expected.g << ", " << expected.b << ")";
}

Vec3 Normalized(const Vec3& v)
{
    return v * (1.0 / std::sqrt(v.Dot(v)));
}

// The lighting shared by the skin, eyes, stalk and fruit: base·(0.5 + 0.5·diffuse) + specular.
Vec3 Lit(const Vec3& normal, const Vec3& global, const Vec3& base, const Vec3& specularColour, double power)
{
    double diffuse = 0.0, specular = 0.0;
    const double value = normal.Dot(kLight);
    if (value < 0.0) {
        diffuse = -value;
        const Vec3 view = Normalized(global - kEye);
        const double s = 2.0 * value * normal.Dot(view) - kLight.Dot(view);
        if (s > 0.0)
            specular = std::pow(s, power);
    }
    return base * (0.5 + 0.5 * diffuse) + specularColour * specular;
}

Vec3 Fogged(const Vec3& lit, const Vec3& global)
{
    const Vec3 view = kEye - global;
    const double length = std::sqrt(view.Dot(view));
    double lying = 0.0;
    if (global.y <= -1.0)
        lying = std::pow(1.0 - (global.y + 2.0), 1.5) / 8.0 * length / view.y;
    if (!(lying > 0.0))
        lying = 0.0;
    const double fog = std::clamp(lying + 0.02 * length, 0.0, 1.0);
    return lit * (1.0 - fog) + Vec3(0.494, 0.494, 0.494) * fog;
}

double Fract(double x)
{
    return x - std::floor(x);
}

double Mod(double x, double y)
{
    return x - y * std::floor(x / y);
}
} // namespace

TEST(ShaderFormulas, HornsMixOnlyTheDiffuseLightOnADarkerFloor)
{
    const Vec3 colour(0.8, 0.4, 0.2);
    Varyings in{};
    for (const Vec3& normal : {Vec3(0, 1, 0), Vec3(3, 4, 0), Vec3(0, -1, 0), Vec3(0, 0, 1)}) {
        in.normal = normal;
        const double value = Normalized(normal).Dot(kLight);
        const double diffuse = value < 0.0 ? -value : 0.0;
        EXPECT_TRUE(Near(Shade(113, in), ToBytes(colour * (0.3 + 0.7 * diffuse))))
            << normal.x << "," << normal.y << "," << normal.z;
    }
}

TEST(ShaderFormulas, EyesShineWhereTheLightReflectsTowardsTheEye)
{
    Varyings in{};
    // Lit from above, seen from the front and from below the eye.
    for (const Vec3& global : {Vec3(0, 0, 0), Vec3(0, -3, 2)}) {
        in.normal = Vec3(0, 2, 0.5);
        in.global = global;
        EXPECT_TRUE(Near(Shade(112, in), ToBytes(Lit(Normalized(in.normal), global, Vec3(1, 0.3, 0.3), Vec3(1, 1, 1), 32))))
            << global.y;
    }
    in.normal = Vec3(0, -1, 0);
    EXPECT_TRUE(Near(Shade(112, in), ToBytes(Vec3(0.5, 0.15, 0.15)))) << "facing away: half brightness";
}

TEST(ShaderFormulas, ScalesAreDomesOnAStaggeredGridOverTheBackground)
{
    // The frame: grid x along +x, grid y along +z, the normal up towards the light.
    const auto scale = [](double u, double v) {
        const double w = 0.6, h = 0.6, t = 0.3;
        const int column = static_cast<int>(u / w);
        const double localX = u - (column + 0.5) * w;
        const double y = column / 2 != (column + 1) / 2 ? v + 0.5 : v;
        const double localY = Mod(y, h) - 0.5 * h;
        const double a = 1.0 - 4.0 * ((localX / w) * (localX / w) + (localY / h) * (localY / h));
        Vec3 n(0, 0, 1);
        Vec3 base(0.7, 0.7, 0.7);
        if (a > 0.0) {
            const double p = localX / (w * w), q = localY / (h * h);
            const double d = std::sqrt(a + 16.0 * t * t * (p * p + q * q));
            const double e = 4.0 * t / d;
            n = Vec3(e * p, e * q, std::sqrt(a) / d);
            base = Vec3(0.7, 0.7, 0.7) * (1.0 - n.z) + Vec3(0.5, 0.5, 1.0) * n.z;
        }
        const Vec3 normal = Vec3(1, 0, 0) * n.x + Vec3(0, 0, 1) * n.y + Vec3(0, 1, 0) * n.z;
        return Lit(normal, Vec3(0, 0, 0), base, Vec3(0.4, 0.4, 0.4), 8);
    };
    Varyings in{};
    in.gridX = Vec3(1, 0, 0);
    in.gridY = Vec3(0, 0, 1);
    in.normal = Vec3(0, 1, 0);
    struct Point {
        const char* what;
        double u, v;
    };
    for (const Point& point : {Point{"the top of a dome", 0.3, 0.3}, Point{"a dome's flank", 0.4, 0.3},
                               Point{"a dome's flank across v", 0.3, 0.45},
                               Point{"a shifted column's dome top", 0.9, -0.2},
                               Point{"between the domes", 0.01, 0.01}, Point{"far along the body", 13.5, 7.1}}) {
        in.gridPoint = Vec2(point.u, point.v);
        EXPECT_TRUE(Near(Shade(111, in), ToBytes(scale(point.u, point.v)))) << point.what;
    }
    in.gridPoint = Vec2(0.9, -0.2);
    EXPECT_TRUE(Near(Shade(111, in), ToBytes(Vec3(0.5, 0.5, 1.0)))) << "odd columns move by half a grid unit";
    in.gridPoint = Vec2(0.01, 0.01);
    EXPECT_TRUE(Near(Shade(111, in), ToBytes(Vec3(0.7, 0.7, 0.7)))) << "outside: background, unperturbed normal";
}

TEST(ShaderFormulas, WrinklesAreRoundedRidgesAcrossTheBody)
{
    Varyings in{};
    in.gridX = Vec3(1, 0, 0);
    in.gridY = Vec3(0, 0, 1);
    in.normal = Vec3(0, 1, 0);
    in.global = Vec3(0.2, -0.3, 0.1);
    for (double u : {0.35, 0.1, 0.69, 7.05}) {
        in.gridPoint = Vec2(u, 2.0);
        const double t = Mod(u, 0.7);
        const Vec3 local = Normalized(Vec3(t - 0.35, 0, 2.0));
        const Vec3 normal = Normalized(Vec3(1, 0, 0) * local.x + Vec3(0, 0, 1) * local.y + Vec3(0, 1, 0) * local.z);
        EXPECT_TRUE(Near(Shade(110, in), ToBytes(Lit(normal, in.global, Vec3(0.7, 0.7, 0.7), Vec3(0.6, 0.6, 0.6), 8))))
            << u;
    }
}

TEST(ShaderFormulas, StalkAndFruitSinkIntoTheFogOnTheGround)
{
    Varyings in{};
    in.normal = Vec3(0, 1, 0);
    // High above the fog (ambient fog only), in it, and deep in it.
    for (const Vec3& global : {Vec3(0, 0.5, 0), Vec3(0.3, -1.5, -1.0), Vec3(0, -2.5, -3.0)}) {
        in.global = global;
        in.gridPoint = Vec2(0.5, 1.0);
        const double a = Mod(0.5, 1.0);
        const Vec3 stalkNormal =
            Normalized(in.normal + Vec3(Fract(124 * a), Fract(135 * a), Fract(146 * a)) * 0.07);
        const Vec3 stalk = Lit(stalkNormal, global, Vec3(0.2, 0.5, 0.1), Vec3(0.596, 0.659, 0.502), 2);
        EXPECT_TRUE(Near(Shade(124, in), ToBytes(Fogged(stalk, global)))) << "stalk at " << global.y;

        in.gridPoint = Vec2(1.2, 0.4);
        const double band = std::sin(1.2) * (1.0 + std::sin(15.0 * 1.2 + 0.4));
        const double w = 0.2 * std::pow(band, 4);
        const Vec3 base = Vec3(0, 0, 0.7) * (1.0 - w) + Vec3(0.5, 0.5, 1) * w;
        const Vec3 fruit = Lit(Normalized(in.normal), global, base, Vec3(1, 1, 1), 8);
        EXPECT_TRUE(Near(Shade(128, in), ToBytes(Fogged(fruit, global)))) << "fruit at " << global.y;
    }
}

TEST(ShaderFormulas, TheFruitsBrightestBandsOvershootTowardsWhite)
{
    Varyings in{};
    in.normal = Vec3(0, -1, 0); // unlit: half brightness, no highlight
    in.global = Vec3(0, 0, 3.5);
    // sin(u) = 1 and sin(15u + v) = 1: w = 0.2 * 2^4 = 3.2, far past the lighter colour.
    const double u = 3.14159265358979 / 2;
    in.gridPoint = Vec2(u, 3.14159265358979 / 2 - 15 * u + 2 * 3.14159265358979 * 4);
    const double w = 3.2;
    const Vec3 base = Vec3(0, 0, 0.7) * (1.0 - w) + Vec3(0.5, 0.5, 1) * w;
    const Vec3 expected = Fogged(base * 0.5, in.global);
    EXPECT_GT(base.x, 1.0);
    EXPECT_TRUE(Near(Shade(128, in), ToBytes(expected)));
}
