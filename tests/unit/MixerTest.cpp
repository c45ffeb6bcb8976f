// The sound manager on the platform's real mixer: DirectSound under Wine (with an ALSA file
// device), OpenAL Soft on Linux (its silent device). What reaches the mixer is read back from it.

#include "support/TestLog.h"

#include "sound/SoundBuffer.h"
#include "sound/SoundManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#ifdef _WIN32
#include "sound/SoundManagerDirectSound.h"
#else
#include "sound/SoundManagerOpenAL.h"

#define AL_ALEXT_PROTOTYPES
#include <alext.h>
#endif

struct SoundBufferInspector {
    static const SoundBufferBackend& Parts(const SoundBuffer& buffer) { return *buffer.backend_; }
};

namespace {
struct Mixer {
    double x, y, z;
    int32_t volume; // hundredths of a decibel
    bool playing, looping;
    uint32_t bytes;
};

Mixer Read(const SoundBuffer& buffer)
{
    Mixer mixer = {};
#ifdef _WIN32
    IDirectSoundBuffer8* buffer8 = SoundBufferInspector::Parts(buffer).buffer8;
    IDirectSound3DBuffer* buffer3d = SoundBufferInspector::Parts(buffer).buffer3d;
    D3DVECTOR position = {};
    buffer3d->GetPosition(&position);
    mixer.x = position.x;
    mixer.y = position.y;
    mixer.z = position.z;
    LONG volume = 0;
    buffer8->GetVolume(&volume);
    mixer.volume = volume;
    DWORD status = 0;
    buffer8->GetStatus(&status);
    mixer.playing = (status & DSBSTATUS_PLAYING) != 0;
    mixer.looping = (status & DSBSTATUS_LOOPING) != 0;
    DSBCAPS caps = {};
    caps.dwSize = sizeof caps;
    buffer8->GetCaps(&caps);
    mixer.bytes = caps.dwBufferBytes;
#else
    const ALuint source = SoundBufferInspector::Parts(buffer).source;
    const ALuint name = SoundBufferInspector::Parts(buffer).buffer;
    ALfloat x = 0, y = 0, z = 0, gain = 0;
    alGetSource3f(source, AL_POSITION, &x, &y, &z);
    mixer.x = x;
    mixer.y = y;
    mixer.z = z;
    alGetSourcef(source, AL_GAIN, &gain);
    mixer.volume = gain > 0 ? static_cast<int32_t>(std::lround(2000.0 * std::log10(gain))) : -10000;
    ALint state = 0, looping = 0, bytes = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    alGetSourcei(source, AL_LOOPING, &looping);
    alGetBufferi(name, AL_SIZE, &bytes);
    mixer.playing = state == AL_PLAYING;
    mixer.looping = looping == AL_TRUE;
    mixer.bytes = static_cast<uint32_t>(bytes);
#endif
    return mixer;
}
} // namespace

TEST(Mixer, BuffersHoldTheSamplesInTheSaversOneFormat)
{
    SoundManager manager(nullptr, SoundChoice());
    ASSERT_TRUE(manager.IsValid()) << "the test needs a sound device";
    EXPECT_EQ(manager.CreateBuffer(0), nullptr);
    SoundBuffer* ambient = manager.CreateBufferFromResource(132);
    SoundBuffer* flap = manager.CreateBufferFromResource(133);
    ASSERT_NE(ambient, nullptr);
    ASSERT_NE(flap, nullptr);
    EXPECT_EQ(manager.BufferCount(), 2u);
    EXPECT_EQ(Read(*ambient).bytes, 88200u);
    EXPECT_EQ(Read(*flap).bytes, 105512u);
    EXPECT_FALSE(Read(*ambient).playing) << "a new buffer is silent";
#ifdef _WIN32
    WAVEFORMATEX format = {};
    SoundBufferInspector::Parts(*ambient).buffer8->GetFormat(&format, sizeof format, nullptr);
    EXPECT_EQ(format.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(format.nChannels, 1);
    EXPECT_EQ(format.nSamplesPerSec, 44100u);
    EXPECT_EQ(format.wBitsPerSample, 16);
    DSBCAPS caps = {};
    caps.dwSize = sizeof caps;
    SoundBufferInspector::Parts(*ambient).buffer8->GetCaps(&caps);
    EXPECT_EQ(caps.dwFlags & (DSBCAPS_CTRL3D | DSBCAPS_CTRLVOLUME), DSBCAPS_CTRL3D | DSBCAPS_CTRLVOLUME);
#else
    const ALuint name = SoundBufferInspector::Parts(*ambient).buffer;
    ALint frequency = 0, channels = 0, bits = 0;
    alGetBufferi(name, AL_FREQUENCY, &frequency);
    alGetBufferi(name, AL_CHANNELS, &channels);
    alGetBufferi(name, AL_BITS, &bits);
    EXPECT_EQ(frequency, 44100);
    EXPECT_EQ(channels, 1);
    EXPECT_EQ(bits, 16);
#endif
}

TEST(Mixer, PositionsArriveInTheMixersAxesAndVolumesInHundredthsOfADecibel)
{
    SoundManager manager(nullptr, SoundChoice());
    ASSERT_TRUE(manager.IsValid());
    SoundBuffer* buffer = manager.CreateBufferFromResource(133);
    ASSERT_NE(buffer, nullptr);
    buffer->SetPosition(Vec3(1.0, 2.0, 3.0));
    const Mixer placed = Read(*buffer);
    EXPECT_DOUBLE_EQ(placed.x, 1.0);
    EXPECT_DOUBLE_EQ(placed.y, 2.0);
#ifdef _WIN32
    EXPECT_DOUBLE_EQ(placed.z, -3.0) << "DirectSound's z points away from the viewer";
#else
    EXPECT_DOUBLE_EQ(placed.z, 3.0) << "OpenAL's axes are the scene's: a sound behind the viewer stays behind";
#endif

    // A buffer that was not moved: Wine's DirectSound reports a moved buffer's volume with its
    // distance attenuation folded in.
    SoundBuffer* still = manager.CreateBufferFromResource(132);
    ASSERT_NE(still, nullptr);
    still->SetVolume(-600);
    EXPECT_EQ(Read(*still).volume, -600);
    still->SetVolume(-4000);
    EXPECT_EQ(Read(*still).volume, -4000);
    still->SetVolume(100); // above full volume: refused, as DirectSound refuses it
    EXPECT_EQ(Read(*still).volume, -4000);
}

TEST(Mixer, LoopingAndOnceAPauseAndTheEndOfTheManager)
{
    SoundManager manager(nullptr, SoundChoice());
    ASSERT_TRUE(manager.IsValid());
    SoundBuffer* ambient = manager.CreateBufferFromResource(132);
    SoundBuffer* flap = manager.CreateBufferFromResource(133);
    ASSERT_NE(ambient, nullptr);
    ASSERT_NE(flap, nullptr);
    ambient->PlayLooping();
    flap->PlayOnce();
    EXPECT_TRUE(Read(*ambient).playing);
    EXPECT_TRUE(Read(*ambient).looping);
    EXPECT_TRUE(Read(*flap).playing);
    EXPECT_FALSE(Read(*flap).looping);
#ifndef _WIN32
    // A pause with the flap ended and the loop well into its samples: only the loop goes on, from
    // where it stopped.
    const ALuint loop = SoundBufferInspector::Parts(*ambient).source;
    alSourcei(loop, AL_SAMPLE_OFFSET, 40000);
    alSourceStop(SoundBufferInspector::Parts(*flap).source);
    manager.PauseDevice(true);
    EXPECT_FALSE(Read(*ambient).playing);
    ALint paused = 0, later = 0;
    alGetSourcei(loop, AL_SAMPLE_OFFSET, &paused);
    EXPECT_GE(paused, 40000);
    manager.PauseDevice(false);
    alGetSourcei(loop, AL_SAMPLE_OFFSET, &later);
    EXPECT_TRUE(Read(*ambient).playing);
    EXPECT_GE(later, paused);
    EXPECT_FALSE(Read(*flap).playing);
#endif
    // The manager goes with both still playing; nothing is left to stop them first.
}

TEST(Mixer, WithSoundTurnedOffTheManagerWorksAndPlaysNothing)
{
    StartTestLog();
    {
        SoundChoice silent;
        silent.wanted = false;
        silent.whyNot = "EnableSound is 0 in the settings";
        SoundManager manager(nullptr, silent);
        ASSERT_TRUE(manager.IsValid()) << "a silent run still has its buffers";
        EXPECT_EQ(TestLogRecords(), std::vector<std::string>{"   Notify : Sound is off: EnableSound is 0 in the settings"});
        SoundBuffer* ambient = manager.CreateBufferFromResource(132);
        ASSERT_NE(ambient, nullptr);
        ambient->PlayLooping();
        ambient->SetVolume(-600);
        ambient->SetPosition(Vec3(1.0, 2.0, 3.0));
#ifdef _WIN32
        // No DirectSound device was started: the samples stay in memory.
        EXPECT_EQ(SoundBufferInspector::Parts(*ambient).buffer8, nullptr);
        EXPECT_EQ(SoundBufferInspector::Parts(*ambient).silent.size(), 88200u);
        void* data = nullptr;
        uint32_t bytes = 0;
        ASSERT_EQ(ambient->Lock(data, bytes), 0);
        EXPECT_EQ(bytes, 88200u);
        EXPECT_EQ(ambient->Unlock(), 0);
#else
        EXPECT_EQ(Read(*ambient).bytes, 88200u);
        EXPECT_EQ(Read(*ambient).volume, -600);
        // Only a loopback device, whose samples nobody asks for, renders on request.
        ALCdevice* device = alcGetContextsDevice(alcGetCurrentContext());
        ASSERT_NE(device, nullptr);
        int16_t samples[64];
        alcGetError(device);
        alcRenderSamplesSOFT(device, samples, 32);
        EXPECT_EQ(alcGetError(device), ALC_NO_ERROR) << "the silent device is OpenAL Soft's loopback device";
#endif
    }
}
