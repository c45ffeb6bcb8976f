// The creature's skeleton and flight: the ribbon's poses and follow step, and the flight states'
// entries, exits and draws for seeds that force the draws that matter.

#include "support/RandomSeeds.h"

#include "gfx/RandomUnit.h"
#include "scene/FlightBehaviour.h"
#include "scene/Ribbon.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
double Draw(uint32_t seed, int after)
{
    return DrawAfter(seed, after) / 32767.0;
}

void ExpectVec(const Vec3& expected, const Vec3& actual, double tolerance = 1e-12)
{
    EXPECT_NEAR(expected.x, actual.x, tolerance);
    EXPECT_NEAR(expected.y, actual.y, tolerance);
    EXPECT_NEAR(expected.z, actual.z, tolerance);
}

// A behaviour whose ribbon lies straight from `head` away from the camera, in state `state` as
// entered from a seed whose next draws are `draws`.
struct Flight {
    Ribbon ribbon;
    FlightBehaviour behaviour{&ribbon};
    Flight(const Vec3& head, int32_t state, std::initializer_list<int> draws)
    {
        ribbon.Straighten(head, Vec3(0.0, 1.0, 0.0), Vec3(0.0, 0.0, -1.0));
        SeedRandom(SeedForDraws(draws));
        behaviour.SetState(state);
    }
};
} // namespace

TEST(Ribbon, StartsStraightAndMapsModelPointsByNode)
{
    Ribbon ribbon;
    const float* vertexes = ribbon.FillVertexes();
    const float* matrixes = ribbon.FillMatrixes();
    for (int k = 0; k < 20; ++k) {
        EXPECT_FLOAT_EQ(static_cast<float>(1.0 - 0.05 * k), vertexes[3 * k]);
        for (int e = 0; e < 9; ++e)
            EXPECT_EQ(e % 4 == 0 ? 1.0f : 0.0f, matrixes[9 * k + e]) << k << " " << e;
    }

    // Straight away from the camera: direction -z, side -x, up +y; node k at (0, 2, 0.05 k).
    ribbon.Straighten(Vec3(0.0, 2.0, 0.0), Vec3(0.0, 1.0, 0.0), Vec3(0.0, 0.0, -1.0));
    ExpectVec(Vec3(-1.0, 0.0, 0.0), ribbon.nodes[7].side);
    const Vec3 point(0.0, 0.1, 0.2);
    ExpectVec(Vec3(-0.1, 2.2, 0.0), ribbon.TransformVertex(point, 1.0));
    ExpectVec(Vec3(-0.1, 2.2, 0.4), ribbon.TransformVertex(point, 0.6));
    ExpectVec(Vec3(-0.1, 2.2, 0.95 + 0.04), ribbon.TransformVertex(point, 0.01));
    ExpectVec(Vec3(-0.3, 0.5, -0.7), ribbon.TransformDirection(Vec3(0.7, 0.3, 0.5), 0.6));
    // Column-major frames: direction, side, up.
    ribbon.FillMatrixes();
    EXPECT_EQ(-1.0f, ribbon.FillMatrixes()[2]);
    EXPECT_EQ(-1.0f, ribbon.FillMatrixes()[3]);
    EXPECT_EQ(1.0f, ribbon.FillMatrixes()[7]);
}

TEST(Ribbon, RelaxSpacesTheNodesAndRebuildsRightHandedFrames)
{
    Ribbon ribbon;
    ribbon.SetHead(Vec3(3.0, 1.0, -2.0), Vec3(0.3, 0.9, 0.1));
    const Vec3 oldNode1(0.95, 0.0, 0.0);
    // Node 1 is pulled straight towards the head.
    Vec3 towards = ribbon.nodes[0].position - oldNode1;
    towards.Normalize();
    ExpectVec(ribbon.nodes[0].position - towards * 0.05, ribbon.nodes[1].position);
    for (int k = 0; k < 20; ++k) {
        const RibbonNode& n = ribbon.nodes[k];
        if (k > 0) {
            EXPECT_NEAR(0.05, (ribbon.nodes[k - 1].position - n.position).Length(), 1e-12) << k;
        }
        EXPECT_NEAR(1.0, n.direction.Length(), 1e-12);
        EXPECT_NEAR(1.0, n.side.Length(), 1e-12);
        EXPECT_NEAR(0.0, n.direction.Dot(n.side), 1e-12);
        ExpectVec(n.up, n.direction.Cross(n.side));
    }

    // Nodes on the very place of the one before go 0.05 towards -x; the next is then 0.05 away
    // already and stays.
    for (RibbonNode& node : ribbon.nodes)
        node.position = Vec3(1.0, 1.0, 1.0);
    ribbon.Relax();
    for (int k = 0; k < 20; ++k)
        ExpectVec(Vec3(k % 2 ? 0.95 : 1.0, 1.0, 1.0), ribbon.nodes[k].position, 0.0);
}

TEST(FlightBehaviour, StartsFlyingToADrawnGoalFromAboveTheCentre)
{
    const uint32_t seed = 1234567;
    SeedRandom(seed);
    Ribbon ribbon;
    FlightBehaviour behaviour(&ribbon);
    EXPECT_EQ(FlightBehaviour::FlyToTarget, behaviour.state);
    EXPECT_EQ(0.0, behaviour.stateMs);
    ExpectVec(Vec3(0.0, 2.0, 0.0), ribbon.nodes[0].position, 0.0);
    ExpectVec(Vec3(0.0, 2.0, 0.95), ribbon.nodes[19].position, 1e-15);
    const double a = 2.0 - 16.0 * Draw(seed, 0);
    ExpectVec(Vec3((Draw(seed, 1) - 0.5) * a * 0.5, (Draw(seed, 2) - 0.5) * a * 0.1875, a), behaviour.target, 0.0);
    EXPECT_EQ(DrawAfter(seed, 3), NextRandom15()) << "three draws, no more";
}

TEST(FlightBehaviour, LeavesEachStateByItsRowAndItsClock)
{
    // A draw of exactly 1.0 ends the walk of row 0 at LevelOff, which a head near the z axis and
    // behind z = 0 keeps.
    Flight fly(Vec3(0.2, 0.5, -1.0), FlightBehaviour::FlyToTarget, {0, 16000});
    fly.behaviour.target = Vec3(0.0, 0.0, -50.0);
    fly.behaviour.Step(3000);
    EXPECT_EQ(FlightBehaviour::FlyToTarget, fly.behaviour.state) << "not yet past 3000 ms";
    SeedRandom(SeedForDraws({32767}));
    fly.behaviour.Step(1);
    EXPECT_EQ(FlightBehaviour::LevelOff, fly.behaviour.state);
    EXPECT_EQ(0.0, fly.behaviour.stateMs);

    // LevelOff lasts until past 3000 ms, and that step does not move the head; Dart follows.
    fly.behaviour.Step(3000);
    const Vec3 before = fly.ribbon.nodes[0].position;
    SeedRandom(SeedForDraws({16000, 0}));
    fly.behaviour.Step(1);
    EXPECT_EQ(FlightBehaviour::Dart, fly.behaviour.state);
    ExpectVec(before, fly.ribbon.nodes[0].position, 0.0);

    // A LevelOff entered far from the z axis turns into FlyToTarget in the same call.
    Flight far(Vec3(0.0, 2.0, -1.0), FlightBehaviour::LevelOff, {100, 200});
    EXPECT_EQ(FlightBehaviour::FlyToTarget, far.behaviour.state);
    EXPECT_EQ(2.0 - 16.0 * (100 / 32767.0), far.behaviour.target.z);

    // Hover with holdMs 0 waits out a step of 0 ms, then a draw of 1.0 from row 2 gives Wriggle.
    Flight hover(Vec3(0.0, 0.0, 0.0), FlightBehaviour::Hover, {0});
    EXPECT_EQ(0.0, hover.behaviour.holdMs);
    hover.behaviour.Step(0);
    EXPECT_EQ(FlightBehaviour::Hover, hover.behaviour.state);
    SeedRandom(SeedForDraws({32767}));
    hover.behaviour.Step(1);
    EXPECT_EQ(FlightBehaviour::Wriggle, hover.behaviour.state);
    hover.behaviour.Step(1999);
    EXPECT_EQ(FlightBehaviour::Wriggle, hover.behaviour.state);
    SeedRandom(SeedForDraws({5, 6}));
    hover.behaviour.Step(1);
    EXPECT_EQ(FlightBehaviour::FlyToTarget, hover.behaviour.state);
}

TEST(FlightBehaviour, MovesAsWrittenAndNotAtAllInAStepOfNoTime)
{
    // Dart: theta = 2 pi r1, radius (r2 + 1) 0.2, a quarter sine over 500 ms, the body straight.
    Flight dart(Vec3(0.0, 0.0, 0.0), FlightBehaviour::Dart, {8192, 32767});
    const double theta = 6.2831852 * (8192 / 32767.0);
    const Vec3 offset = Vec3(0.0, 1.0, 0.0) * std::sin(theta) * 0.4 + Vec3(-1.0, 0.0, 0.0) * std::cos(theta) * 0.4;
    ExpectVec(offset, dart.behaviour.dartOffset, 0.0);
    dart.behaviour.Step(250);
    ExpectVec(offset * std::sin(0.0031415926 * 250.0), dart.ribbon.nodes[0].position, 0.0);
    ExpectVec(dart.ribbon.nodes[0].position + Vec3(0.0, 0.0, 0.95), dart.ribbon.nodes[19].position, 1e-15);
    const Vec3 darted = dart.ribbon.nodes[0].position;
    SeedRandom(SeedForDraws({1}));
    dart.behaviour.Step(250);
    EXPECT_EQ(FlightBehaviour::Hover, dart.behaviour.state);
    ExpectVec(darted, dart.ribbon.nodes[0].position, 0.0);

    // Every moving state with dt = 0 leaves the head where it is, while its clock still runs.
    for (int32_t state : {FlightBehaviour::FlyToTarget, FlightBehaviour::LevelOff, FlightBehaviour::Dart}) {
        Flight still(Vec3(0.1, 0.2, -0.5), state, {9000, 9000});
        const Vec3 head = still.ribbon.nodes[0].position;
        still.behaviour.Step(0);
        ExpectVec(head, still.ribbon.nodes[0].position, 1e-15);
        ExpectVec(Vec3(0.1, 0.2, -0.45), still.ribbon.nodes[1].position, 1e-15);
        EXPECT_EQ(state, still.behaviour.state);
    }

    // FlyToTarget: a turn of 0.006 dt towards the goal, then 0.002 dt along the new heading.
    Flight cruise(Vec3(0.0, 0.0, 0.0), FlightBehaviour::FlyToTarget, {0, 16000});
    cruise.behaviour.target = Vec3(5.0, 0.0, 0.0);
    cruise.behaviour.Step(10);
    Vec3 heading = Vec3(0.0, 0.0, -1.0) + Vec3(1.0, 0.0, 0.0) * 0.006 * 10.0;
    heading.Normalize();
    ExpectVec(heading * 0.002 * 10.0, cruise.ribbon.nodes[0].position, 0.0);
}

TEST(FlightBehaviour, LevelOffAndWriggleMoveByTheirFormulas)
{
    // LevelOff: the climb fades as cos(pi t / 3000) over the first 1500 ms, at cruise speed.
    Flight level(Vec3(0.1, 0.2, -0.5), FlightBehaviour::LevelOff, {0});
    ASSERT_EQ(FlightBehaviour::LevelOff, level.behaviour.state);
    level.behaviour.levelVertical = Vec3(0.0, 0.5, 0.0);
    level.behaviour.Step(400);
    Vec3 direction = Vec3(0.0, 0.0, -1.0) + Vec3(0.0, 0.5, 0.0) * std::cos(3.1415926 / 3000.0 * 400.0);
    direction.Normalize();
    ExpectVec(Vec3(0.1, 0.2, -0.5) + direction * 0.002 * 400.0, level.ribbon.nodes[0].position);

    // Wriggle: node i of the straight body swings sideways by 0.015 sin(pi t / 2000), a wave that
    // runs down the body, sin((t / 150 - 3 i / 20) pi); then the body is relaxed.
    Flight wriggle(Vec3(0.0, 0.0, 0.0), FlightBehaviour::Wriggle, {0});
    wriggle.behaviour.Step(300);
    Ribbon expected;
    for (int i = 0; i < 20; ++i) {
        const double wave = std::sin((300.0 / 150.0 - 3.0 * i / 20.0) * 3.1415926);
        expected.nodes[i].position = Vec3(0.0, 0.0, i / 20.0) +
                                     Vec3(-1.0, 0.0, 0.0) * 0.015 * std::sin(3.1415926 / 2000.0 * 300.0) * wave;
    }
    expected.Relax();
    for (int i = 0; i < 20; ++i)
        ExpectVec(expected.nodes[i].position, wriggle.ribbon.nodes[i].position, 1e-9);
}
