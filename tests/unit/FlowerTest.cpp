// The flowers without a context: the two shared meshes, the stalks' shape at rest and the sway
// with its draws.

#include "support/RandomSeeds.h"

#include "gfx/RandomUnit.h"
#include "scene/Flower.h"
#include "scene/FlowerModels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {
struct Place {
    Vec3 root, bend;
    double length, fruitSize, topAngle; // the top's angle from straight down, in degrees, at rest
};
const Place kPlaces[] = {
    {Vec3(-5, -2, -20), Vec3(-0.7, 0, -0.7), 5, 0.5, 74},
    {Vec3(5, -2, -20), Vec3(-0.7, 0, 0.7), 3, 0.3, 45},
    {Vec3(3, -2, -30), Vec3(0, 0, 1), 6, 0.6, 90},
    {Vec3(-1, -2, -40), Vec3(0.7, 0, -0.7), 10, 1.0, 146},
};

Flower Make(const Place& place)
{
    Flower flower;
    flower.root = place.root;
    flower.bendVector = place.bend;
    flower.length = place.length;
    flower.fruitSize = place.fruitSize;
    return flower;
}
} // namespace

TEST(FlowerModels, StalkAndFruitHaveTheirLayoutsAndShape)
{
    const FlowerMesh stalk = MakeStalkMesh();
    ASSERT_EQ(20496u, stalk.vertices.size() * sizeof(float));
    ASSERT_EQ(2160u, stalk.indices.size());
    EXPECT_EQ(365u, *std::max_element(stalk.indices.begin(), stalk.indices.end()));
    const float* position = stalk.vertices.data();
    const float* normal = stalk.vertices.data() + kStalkNormalOffset / 4;
    const float* grid = stalk.vertices.data() + kStalkGridPointOffset / 4;
    // Ring 0 at the foot, 0.6 across with its normals straight out; ring 60 at x = 0.001.
    EXPECT_FLOAT_EQ(1.0f, position[0]);
    EXPECT_FLOAT_EQ(static_cast<float>(0.5 * std::sin(10.0) * std::exp(-20.0) + 0.6), position[1]);
    EXPECT_FLOAT_EQ(0.0f, normal[0]);
    EXPECT_FLOAT_EQ(1.0f, normal[1]);
    EXPECT_FLOAT_EQ(0.001f, position[3 * 360]);
    EXPECT_NEAR(0.6 / 21.0, std::hypot(position[3 * 360 + 1], position[3 * 360 + 2]), 1e-6);
    // Vertex 6 m + k: grid point (t, k / 60); the first triangles of a gap.
    EXPECT_FLOAT_EQ(static_cast<float>(30 * 0.016666666666666666), grid[2 * (6 * 30 + 4)]);
    EXPECT_NEAR(4.0 / 60.0, grid[2 * (6 * 30 + 4) + 1], 1e-7);
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 6, 1, 7, 6}), std::vector<uint32_t>(stalk.indices.begin(), stalk.indices.begin() + 6));

    const FlowerMesh fruit = MakeFruitMesh();
    ASSERT_EQ(4620u, fruit.vertices.size() * sizeof(float));
    ASSERT_EQ(1200u, fruit.indices.size());
    EXPECT_EQ(230u, *std::max_element(fruit.indices.begin(), fruit.indices.end()));
    EXPECT_EQ((std::vector<uint32_t>{22, 21, 0, 1, 22, 0}), std::vector<uint32_t>(fruit.indices.begin(), fruit.indices.begin() + 6));
    // A unit sphere around (1, 0, 0): ring 0 is its pole at the origin.
    for (int v = 0; v < 231; ++v) {
        const float* p = fruit.vertices.data() + 3 * v;
        EXPECT_NEAR(1.0, std::hypot(p[0] - 1.0, std::hypot(p[1], p[2])), 1e-6) << v;
    }
    EXPECT_EQ(0.0f, fruit.vertices[3 * 20]);
    EXPECT_FLOAT_EQ(static_cast<float>(0.31415926000000005 * 3), fruit.vertices[kFruitGridPointOffset / 4 + 2 * 21 * 3]);
}

TEST(Flower, StandsOnItsRootAndDroopsAtRest)
{
    for (const Place& place : kPlaces) {
        Flower flower = Make(place);
        flower.ShapeStalk(place.fruitSize);
        SCOPED_TRACE(place.length);
        EXPECT_EQ(place.root.x, flower.stalk.nodes[0].position.x);
        EXPECT_EQ(place.root.y, flower.stalk.nodes[0].position.y);
        for (int j = 1; j < 20; ++j) {
            const RibbonNode& below = flower.stalk.nodes[j - 1];
            const Vec3 step = flower.stalk.nodes[j].position - below.position;
            EXPECT_NEAR(place.length / 20, step.Length(), 1e-12);
            EXPECT_NEAR(-place.length / 20, step.Dot(below.direction), 1e-12) << "along -U";
        }
        const double angle = std::acos(-flower.stalk.nodes[19].direction.y) * 180.0 / 3.141592653589793;
        EXPECT_NEAR(place.topAngle, angle, 1.0);
    }
}

TEST(Flower, SwaysFromARareDrawAndDiesAway)
{
    Flower flower = Make(kPlaces[0]);
    // 32 of 32767 is below 0.001: a sway starts, its amplitude from the second draw.
    SeedRandom(SeedForDraws({32, 16383}));
    flower.Update(16);
    EXPECT_EQ(0.2 * (16383 / 32767.0 + 1.0), flower.swing);
    EXPECT_EQ(0, flower.swingClock);
    const Vec3 rest = flower.stalk.nodes[19].position;
    // Its first frame sways by sin(0) and keeps the amplitude (the divisor is exp(0)), drawing nothing.
    const uint32_t seed = 777;
    SeedRandom(seed);
    const double amplitude = flower.swing;
    flower.Update(16);
    EXPECT_EQ(amplitude, flower.swing);
    EXPECT_EQ(16, flower.swingClock);
    EXPECT_EQ(rest.x, flower.stalk.nodes[19].position.x);
    EXPECT_EQ(0, DrawsSince(seed));
    // A frame of no time still shrinks it by exp(-swingClock 1e-7), and the droop swells.
    flower.Update(0);
    EXPECT_EQ(amplitude / std::exp(16 * 1e-7), flower.swing);
    EXPECT_EQ(16, flower.swingClock);
    flower.Update(0);
    EXPECT_NE(rest.x, flower.stalk.nodes[19].position.x);
    // Below 0.01 it is at rest again, and the next frame draws for a new start.
    flower.swing = 0.0100001;
    flower.swingClock = 200000;
    flower.Update(16);
    EXPECT_EQ(0.0, flower.swing);
    SeedRandom(seed);
    flower.Update(16);
    EXPECT_EQ(1, DrawsSince(seed));
}
