// The whole creature for a few frames on a real context, its sound on the recording stand-in: the
// wings are hinged where the body carries them, at the anchor and its mirror image across the
// body, wherever the flight has bent and turned it.

#include "gl/GlTest.h"

#include "gfx/RandomUnit.h"
#include "scene/Creature.h"
#include "sound/SoundManager.h"

#include <gtest/gtest.h>

namespace {
void ExpectVec(const Vec3& expected, const Vec3& actual, const char* what)
{
    EXPECT_NEAR(expected.x, actual.x, 1e-12) << what;
    EXPECT_NEAR(expected.y, actual.y, 1e-12) << what;
    EXPECT_NEAR(expected.z, actual.z, 1e-12) << what;
}
} // namespace

TEST(Creature, StepHingesTheWingsAtTheAnchorAndItsMirrorOnTheFlyingBody)
{
    SoundManager sound(nullptr, SoundChoice());
    SeedRandom(12);
    Creature creature(&sound);
    ASSERT_TRUE(creature.IsValid());
    for (int frame = 0; frame < 60; ++frame)
        creature.Step(16);

    const Ribbon& body = creature.GetRibbon();
    ASSERT_GT(body.nodes[0].direction.Dot(Vec3(0.0, 0.0, -1.0)), -0.999) << "the body never turned";
    ExpectVec(Vec3(0.6, 0.05, 0.03), WingAnchor, "the anchor");
    const Vec3 forward = body.TransformDirection(Vec3(1.0, 0.0, 0.0), 0.6);
    const Wing& first = creature.FirstWing();
    ExpectVec(body.TransformVertex(Vec3(0.6, 0.05, 0.03), 0.6), first.root, "first root");
    ExpectVec(forward, first.hingeAxis, "first hinge");
    ExpectVec(body.TransformDirection(Vec3(0.0, 1.0, 0.0), 0.6), first.restAxis, "first rest axis");
    const Wing& second = creature.SecondWing();
    ExpectVec(body.TransformVertex(Vec3(0.6, -0.05, 0.03), 0.6), second.root, "second root");
    ExpectVec(forward, second.hingeAxis, "second hinge");
    ExpectVec(body.TransformDirection(Vec3(0.0, -1.0, 0.0), 0.6), second.restAxis, "second rest axis");
    // Mirror images: 0.1 apart across the body, each 0.05 off its axis.
    EXPECT_NEAR(0.1, (first.root - second.root).Length(), 1e-9);
}
