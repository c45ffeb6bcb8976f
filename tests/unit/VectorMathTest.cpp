#include <gtest/gtest.h>

#include "gfx/Vec2.h"
#include "gfx/Vec3.h"

#include <cmath>

namespace {
const double kQuarterTurn = std::acos(0.0);

void ExpectNear(const Vec3& expected, const Vec3& actual)
{
    EXPECT_NEAR(expected.x, actual.x, 1e-12);
    EXPECT_NEAR(expected.y, actual.y, 1e-12);
    EXPECT_NEAR(expected.z, actual.z, 1e-12);
}
} // namespace

TEST(Vec3, ArithmeticIsComponentWise)
{
    const Vec3 v(1, 2, 3);
    const Vec3 w(-4, 0.5, 2);
    ExpectNear(Vec3(5, 1.5, 1), v - w);
    ExpectNear(Vec3(-3, 2.5, 5), v + w);
    ExpectNear(Vec3(2, 4, 6), v * 2);
    ExpectNear(Vec3(0.25, 0.5, 0.75), v / 4);
    EXPECT_DOUBLE_EQ(-4 + 1 + 6, v.Dot(w));
    // Cross product of the unit axes keeps the right-handed frame.
    ExpectNear(Vec3(0, 0, 1), Vec3(1, 0, 0).Cross(Vec3(0, 1, 0)));
    ExpectNear(Vec3(2 * 2 - 3 * 0.5, 3 * -4 - 1 * 2, 1 * 0.5 - 2 * -4), v.Cross(w));

    Vec3 u = v;
    u += w;
    u *= 2;
    ExpectNear(Vec3(-6, 5, 10), u);
    EXPECT_DOUBLE_EQ(5.0, Vec3(0, 3, 4).Length());
    EXPECT_DOUBLE_EQ(5.0, Vec2(-3, 4).Length());
}

TEST(Vec3, NormalizeGivesUnitLengthAndTurnsZeroIntoXAxis)
{
    Vec3 zero;
    zero.Normalize();
    ExpectNear(Vec3(1, 0, 0), zero);

    Vec3 up(0, 0, 2);
    up.Normalize();
    ExpectNear(Vec3(0, 0, 1), up);

    Vec3 slanted(3, -4, 12);
    slanted.Normalize();
    ExpectNear(Vec3(3.0 / 13, -4.0 / 13, 12.0 / 13), slanted);
}

TEST(Vec3, RotateAboutPerpendicularAxisTurnsByMinusAngle)
{
    ExpectNear(Vec3(0, -1, 0), Vec3(1, 0, 0).RotateAbout(Vec3(0, 0, 1), kQuarterTurn));
    ExpectNear(Vec3(-2, 0, 0), Vec3(2, 0, 0).RotateAbout(Vec3(0, 0, 5), 2 * kQuarterTurn));
}

TEST(Vec3, RotateAboutParallelAxisLeavesVectorUnchanged)
{
    const Vec3 v(1, 2, 3);
    for (double angle : {0.3, kQuarterTurn, -7.0}) {
        ExpectNear(v, v.RotateAbout(v, angle));
        ExpectNear(v, v.RotateAbout(v * -2.5, angle));
    }
    ExpectNear(Vec3(), Vec3().RotateAbout(Vec3(0, 1, 0), 1.0));
}

TEST(Vec3, RotateAboutSlantedAxisKeepsLengthInPlaneOfVectorAndNormal)
{
    // With an axis that is not perpendicular the result is not a rotation about the axis: the
    // vector swings within the plane of itself and n = v x w, by exactly the given angle.
    const Vec3 v(1, 0, 0);
    const Vec3 w(1, 0, 1);
    const Vec3 r = v.RotateAbout(w, kQuarterTurn);
    ExpectNear(Vec3(0, -1, 0), r);
    const Vec3 r2 = Vec3(2, 1, 0).RotateAbout(Vec3(1, 1, 1), 0.7);
    EXPECT_NEAR(Vec3(2, 1, 0).Length(), r2.Length(), 1e-12);
    EXPECT_NEAR(std::cos(0.7), r2.Dot(Vec3(2, 1, 0)) / 5.0, 1e-12);
}
