// The sound logic over the recording stand-in mixer: buffers from the executable's samples, the
// ambient volume walk and the wing flap.

#include "support/RecordingMixer.h"
#include "support/RandomSeeds.h"
#include "support/TestLog.h"

#include "base/RunLog.h"
#include "gfx/RandomUnit.h"
#include "gfx/ResourceLookup.h"
#include "sound/SceneSoundClass.h"
#include "sound/SoundBuffer.h"
#include "sound/SoundManager.h"
#include "sound/WingsSoundClass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace {
// 15-bit draws above 0.99 of the range, which start a swell.
constexpr int kSwell = 32440;

struct SoundTest : ::testing::Test {
    void SetUp() override
    {
        g_mixer = RecordingMixer();
        StartTestLog();
    }
};
using SoundManagerLogic = SoundTest;
using AmbientSound = SoundTest;
using WingSound = SoundTest;

// Volumes the stand-in mixer was given for buffer #1, in order.
std::vector<std::string> Volumes()
{
    return MixerCalls("volume #1");
}
} // namespace

TEST(SeedForDraws, GivesTheWantedDraws)
{
    SeedRandom(SeedForDraws({32500, 1}));
    EXPECT_EQ(NextRandom15(), 32500);
    EXPECT_EQ(NextRandom15(), 1);
    EXPECT_GT(32440 / 32767.0, 0.99);
    EXPECT_LT(32439 / 32767.0, 0.99);
}

TEST_F(SoundManagerLogic, FillsABufferWithTheSamplesUnchangedAndKeepsIt)
{
    SoundManager manager(nullptr, SoundChoice());
    SoundBuffer* ambient = manager.CreateBufferFromResource(132);
    ASSERT_NE(ambient, nullptr);
    EXPECT_EQ(g_mixer.calls, (std::vector<std::string>{"create 88200 #1", "lock #1", "unlock #1 88200"}));
    ResourceBytes samples;
    ASSERT_TRUE(FindResourceBytes(ResourceType::SoundSamples, 132, samples));
    EXPECT_EQ(g_mixer.unlocked[0], std::vector<uint8_t>(samples.data, samples.data + samples.size));
    EXPECT_EQ(manager.CreateBufferFromResource(133) != nullptr, true);
    EXPECT_EQ(manager.BufferCount(), 2u);
    EXPECT_EQ(MixerCalls("play"), std::vector<std::string>{}) << "not playing";
}

TEST_F(SoundManagerLogic, FailuresLeaveNoBufferBehind)
{
    {
        SoundManager manager(nullptr, SoundChoice());
        EXPECT_EQ(manager.CreateBufferFromResource(999), nullptr) << "no such resource";
        EXPECT_EQ(manager.CreateBuffer(0), nullptr);
        EXPECT_EQ(manager.CreateBuffer(-2), nullptr);
        EXPECT_EQ(g_mixer.calls, std::vector<std::string>{}) << "the mixer is not asked";

        g_mixer.lockedSizeDifference = 2;
        EXPECT_EQ(manager.CreateBufferFromResource(132), nullptr) << "a lock of another size";
        EXPECT_EQ(manager.BufferCount(), 0u);
        EXPECT_EQ(g_mixer.calls, (std::vector<std::string>{"create 88200 #1", "lock #1", "release #1"}));

        g_mixer.lockedSizeDifference = 0;
        g_mixer.refuseBuffers = true;
        EXPECT_EQ(manager.CreateBufferFromResource(133), nullptr);
        EXPECT_EQ(manager.BufferCount(), 0u);
    }
    EXPECT_EQ(g_mixer.calls.back(), "release device") << "an empty list releases only the device";

    g_mixer = RecordingMixer();
    g_mixer.hasDevice = false;
    {
        SoundManager manager(nullptr, SoundChoice());
        EXPECT_FALSE(manager.IsValid());
        EXPECT_EQ(manager.CreateBufferFromResource(132), nullptr);
        EXPECT_EQ(manager.CreateBuffer(100), nullptr);
    }
    EXPECT_EQ(g_mixer.calls, std::vector<std::string>{}) << "without a device nothing is released";
}

TEST_F(SoundManagerLogic, ReleasesEveryBufferInTheOrderMadeThenTheDevice)
{
    {
        SoundManager manager(nullptr, SoundChoice());
        manager.CreateBufferFromResource(132)->PlayLooping();
        manager.CreateBuffer(10);
        manager.CreateBufferFromResource(133);
        g_mixer.calls.clear();
    }
    EXPECT_EQ(g_mixer.calls, (std::vector<std::string>{"release #1", "release #2", "release #3", "release device"}));
}

TEST_F(AmbientSound, StartsTheLoopAtMinus4000AndLagsTheWalkByOneFrame)
{
    // No target for three frames, then one at half the range, then none again.
    const uint32_t seed = SeedWhere(8, [](const std::vector<int>& d) {
        return d[0] < kSwell && d[1] < kSwell && d[2] < kSwell && d[3] >= kSwell && d[4] == 16384 &&
               d[5] < kSwell && d[6] < kSwell;
    });
    SeedRandom(seed);
    std::vector<int> draws;
    for (int i = 0; i < 8; ++i)
        draws.push_back(NextRandom15());
    SeedRandom(seed);
    SoundManager manager(nullptr, SoundChoice());
    SceneSoundClass ambient(&manager);
    ASSERT_TRUE(ambient.HoldsBuffer());
    EXPECT_EQ(MixerCalls("volume"), std::vector<std::string>{"volume #1 -4000"});
    EXPECT_EQ(g_mixer.calls.back(), "play looping #1") << "the loop starts after the first volume";
    EXPECT_EQ(ambient.volume, -4000) << "resting on the floor";

    ambient.Update(16);
    ambient.Update(16);
    EXPECT_EQ(ambient.targetVolume, 0);
    ambient.Update(16); // draws 32767, then the level
    EXPECT_EQ(ambient.targetVolume, static_cast<int32_t>(-4000 + 1600 * (16384 / 32767.0)));
    EXPECT_EQ(ambient.targetVolume, -3199) << "truncated towards zero";
    ambient.Update(16);
    ambient.Update(16);
    EXPECT_EQ(ambient.volume, -3960);
    // The buffer got each volume one step late.
    EXPECT_EQ(Volumes(), (std::vector<std::string>{"volume #1 -4000", "volume #1 -4000", "volume #1 -4000",
                                                   "volume #1 -4000", "volume #1 -4000", "volume #1 -3980"}));
    EXPECT_EQ(NextRandom15(), draws[7]) << "one draw per frame without a new target, two with one";
}

TEST_F(AmbientSound, SwellsPastItsTargetThenSinksBackToTheFloor)
{
    SeedRandom(SeedWhere(16, [](const std::vector<int>& d) {
        return std::all_of(d.begin(), d.end(), [](int draw) { return draw < kSwell; });
    }));
    SoundManager manager(nullptr, SoundChoice());
    SceneSoundClass ambient(&manager);
    // A target below the volume: one rise, and the target is gone.
    ambient.volume = -3000;
    ambient.targetVolume = -3500;
    ambient.Update(0);
    EXPECT_EQ(ambient.volume, -2980);
    EXPECT_EQ(ambient.targetVolume, 0);
    ambient.Update(0);
    EXPECT_EQ(ambient.volume, -2985);
    // A target of exactly -4000 (the lowest level): one rise of 20, then cleared.
    ambient.volume = -4000;
    ambient.targetVolume = -4000;
    ambient.Update(0);
    EXPECT_EQ(ambient.volume, -3980);
    EXPECT_EQ(ambient.targetVolume, 0);
    // The decay stops at the floor, not below it.
    ambient.volume = -3998;
    ambient.Update(0);
    EXPECT_EQ(ambient.volume, -4000);
    ambient.Update(0);
    EXPECT_EQ(ambient.volume, -4000);
    // A target that is reached exactly is kept one frame more: the rise overshoots by 20.
    ambient.volume = -3040;
    ambient.targetVolume = -3000;
    ambient.Update(0);
    ambient.Update(0);
    EXPECT_EQ(ambient.targetVolume, -3000);
    ambient.Update(0);
    EXPECT_EQ(ambient.volume, -2980);
    EXPECT_EQ(ambient.targetVolume, 0);
}

TEST_F(AmbientSound, ANewTargetReplacesTheOneBeingApproachedAndTheWalkStaysInRange)
{
    SeedRandom(SeedForDraws({32767, 0}));
    SoundManager manager(nullptr, SoundChoice());
    SceneSoundClass ambient(&manager);
    EXPECT_EQ(ambient.targetVolume, -4000) << "the lowest level";
    ambient.volume = -3500;
    ambient.targetVolume = -3000;
    SeedRandom(SeedForDraws({32767, 32767}));
    ambient.Update(0);
    EXPECT_EQ(ambient.targetVolume, -2400);

    SeedRandom(20261207);
    for (int frame = 0; frame < 20000; ++frame) {
        ambient.Update(16);
        ASSERT_GE(ambient.volume, -4000);
        ASSERT_LE(ambient.volume, -2400 + 20);
    }
}

TEST_F(AmbientSound, WithoutItsSampleItRecordsTheFailureAndPlaysNothing)
{
    g_mixer.refuseBuffers = true;
    SoundManager manager(nullptr, SoundChoice());
    SceneSoundClass ambient(&manager);
    EXPECT_FALSE(ambient.HoldsBuffer());
    EXPECT_EQ(TestLogRecords(), std::vector<std::string>{"(!)Error : Can not create SceneSoundClass object"});
    EXPECT_STREQ(Log().KeptUserMessage(), "Error of initialization");
    EXPECT_EQ(MixerCalls("play"), std::vector<std::string>{});
}

TEST_F(WingSound, WaitsAtAFarCornerThenFollowsTheHead)
{
    SoundManager manager(nullptr, SoundChoice());
    WingsSoundClass wings(&manager);
    ASSERT_TRUE(wings.HoldsBuffer());
    EXPECT_EQ(MixerCalls("volume"), std::vector<std::string>{"volume #1 -600"});
    EXPECT_EQ(MixerCalls("position"), std::vector<std::string>{"position #1 100 100 100"});
    wings.Update(Vec3(1, 2, 3), 16);
    EXPECT_EQ(MixerCalls("position").back(), "position #1 1 2 3");
    EXPECT_EQ(MixerCalls("play"), std::vector<std::string>{}) << "the first update never plays";
}

TEST_F(WingSound, FlapsOnAQuickRiseAtMostOnceInThreeSeconds)
{
    SoundManager manager(nullptr, SoundChoice());
    WingsSoundClass wings(&manager);
    // The first frame covers a long start-up: the second update may already flap.
    wings.Update(Vec3(0, 0.0, 0), 3001);
    wings.Update(Vec3(0, 0.015, 0), 16);
    EXPECT_EQ(MixerCalls("play").size(), 0u) << "a rise of exactly 0.015 is not enough";
    wings.Update(Vec3(0, 0.031, 0), 16);
    EXPECT_EQ(MixerCalls("play"), std::vector<std::string>{"play once #1"});
    EXPECT_EQ(wings.msSinceFlap, 16u) << "the sum restarts with this frame's time";

    // Rising all the time: the next flap needs more than 3000 ms summed before the frame.
    double height = 0.031;
    uint32_t summed = 16;
    while (summed <= 3000) {
        height += 0.02;
        wings.Update(Vec3(0, height, 0), 100);
        summed += 100;
    }
    EXPECT_EQ(MixerCalls("play").size(), 1u);
    height += 0.02;
    wings.Update(Vec3(0, height, 0), 100);
    EXPECT_EQ(MixerCalls("play").size(), 2u);

    // Armed, but sinking or level: no flap.
    wings.msSinceFlap = 5000;
    wings.Update(Vec3(0, height, 0), 16);
    wings.Update(Vec3(0, height - 0.1, 0), 16);
    EXPECT_EQ(MixerCalls("play").size(), 2u);
}

TEST_F(WingSound, WithoutItsSampleItRecordsTheFailure)
{
    g_mixer.hasDevice = false;
    SoundManager manager(nullptr, SoundChoice());
    WingsSoundClass wings(&manager);
    EXPECT_FALSE(wings.HoldsBuffer());
    EXPECT_EQ(TestLogRecords(), std::vector<std::string>{"(!)Error : Can not create WingsSoundClass object"});
    EXPECT_STREQ(Log().KeptUserMessage(), "Error of initialization");
}
