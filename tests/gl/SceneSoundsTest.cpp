// The scene's two sounds over the recording stand-in for the mixer, stepped as the saver steps
// them: the ambient loop plays from the start and walks its volume every frame, the wing sound
// follows the creature's head, and the replay program counts every flap that plays.

#include "gl/GlTest.h"

#include "base/SaverFrame.h"
#include "gfx/FixedCamera.h"
#include "gfx/RandomUnit.h"
#include "scene/Creature.h"
#include "scene/Scene.h"
#include "sound/SoundManager.h"
#include "support/RecordingMixer.h"
#include "tools/trace/JsonLine.h"
#include "tools/trace/SceneTrace.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {
// The scene of one test over a fresh recording mixer: buffer #1 is the ambient loop, built
// first, and #2 the wing sound.
class SceneSounds : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_mixer = RecordingMixer();
        StartTestLog();
        ApplyFixedCamera();
    }
    void TearDown() override { ReleaseScene(); }

    // Builds the scene from `seed`, then forgets the calls of the build.
    void Build(uint32_t seed)
    {
        SeedRandom(seed);
        ASSERT_EQ(InitializeScene(&sounds_), 0);
        ASSERT_EQ(MixerCalls("play looping"), std::vector<std::string>{"play looping #1"});
        g_mixer.calls.clear();
    }

    static void Step(int32_t elapsed)
    {
        FrameClock clock;
        clock.previousTick = 0;
        clock.elapsed = elapsed;
        StepScene(clock);
    }

    SoundManager sounds_{nullptr, SoundChoice()};
};

// The one number after `"key":` in a line of the replay program.
long long NumberAfter(const std::string& text, const std::string& key)
{
    const size_t at = text.find("\"" + key + "\":");
    return at == std::string::npos ? -1 : std::stoll(text.substr(at + key.size() + 3));
}
} // namespace

TEST_F(SceneSounds, TheAmbientLoopWalksAndTheWingsFollowTheHead)
{
    Build(5);
    bool swelled = false;
    for (int frame = 1; frame <= 600; ++frame) {
        g_mixer.calls.clear();
        Step(16);
        const std::vector<std::string> volumes = MixerCalls("volume #1 ");
        ASSERT_EQ(volumes.size(), 1u) << "frame " << frame;
        const int volume = std::stoi(volumes[0].substr(10));
        // From its floor to at most 20 above the highest target.
        EXPECT_GE(volume, -4000) << "frame " << frame;
        EXPECT_LE(volume, -2380) << "frame " << frame;
        swelled = swelled || volume > -4000;

        const Vec3 head = CurrentScene().creature->GetRibbon().nodes[0].position;
        char position[96];
        std::snprintf(position, sizeof position, "position #2 %g %g %g", head.x, head.y, head.z);
        ASSERT_EQ(MixerCalls("position #"), std::vector<std::string>{position}) << "frame " << frame;
    }
    EXPECT_TRUE(swelled) << "the walk never left its floor";
    EXPECT_TRUE(MixerCalls("volume #2").empty());
}

TEST_F(SceneSounds, TheReplayCountsEveryFlapThatPlays)
{
    Build(1);
    SceneTrace trace(1);
    JsonLine line;
    trace.Write(line, 0, 0);
    size_t flaps = 0;
    for (int frame = 1; frame <= 30; ++frame) {
        Step(1000);
        flaps += MixerCalls("play once #2").size();
        g_mixer.calls.clear();
        trace.Write(line, static_cast<uint64_t>(frame), 1000);
        ASSERT_EQ(NumberAfter(line.Text(), "plays"), static_cast<long long>(flaps)) << "frame " << frame;
    }
    EXPECT_GE(flaps, 2u) << "too few flaps to tell a count from a flag";
    EXPECT_TRUE(MixerCalls("play once #1").empty());
}
