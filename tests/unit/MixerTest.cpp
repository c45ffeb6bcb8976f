// The sound manager on the platform's real mixer: DirectSound under Wine (with an ALSA file
// device), OpenAL Soft on Linux (its silent device). What reaches the mixer is read back from it.

#include "support/TestLog.h"

#include "sound/SoundBuffer.h"
#include "sound/SoundManager.h"

#include <gtest/gtest.h>

#include <cmath>

#ifdef _WIN32
#include <windows.h>

#include <dsound.h>
#else
#include <al.h>
#include <alc.h>
#endif

struct SoundBufferInspector {
    static void* Buffer(const SoundBuffer& buffer) { return buffer.buffer_; }
    static void* Buffer8(const SoundBuffer& buffer) { return buffer.buffer8_; }
    static void* Buffer3d(const SoundBuffer& buffer) { return buffer.buffer3d_; }
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
    auto* buffer8 = static_cast<IDirectSoundBuffer8*>(SoundBufferInspector::Buffer8(buffer));
    auto* buffer3d = static_cast<IDirectSound3DBuffer*>(SoundBufferInspector::Buffer3d(buffer));
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
    const ALuint source = static_cast<ALuint>(reinterpret_cast<uintptr_t>(SoundBufferInspector::Buffer3d(buffer)));
    const ALuint name = static_cast<ALuint>(reinterpret_cast<uintptr_t>(SoundBufferInspector::Buffer(buffer)));
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
    SoundManager manager(nullptr);
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
    static_cast<IDirectSoundBuffer8*>(SoundBufferInspector::Buffer8(*ambient))
        ->GetFormat(&format, sizeof format, nullptr);
    EXPECT_EQ(format.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(format.nChannels, 1);
    EXPECT_EQ(format.nSamplesPerSec, 44100u);
    EXPECT_EQ(format.wBitsPerSample, 16);
    DSBCAPS caps = {};
    caps.dwSize = sizeof caps;
    static_cast<IDirectSoundBuffer8*>(SoundBufferInspector::Buffer8(*ambient))->GetCaps(&caps);
    EXPECT_EQ(caps.dwFlags & (DSBCAPS_CTRL3D | DSBCAPS_CTRLVOLUME), DSBCAPS_CTRL3D | DSBCAPS_CTRLVOLUME);
#else
    const ALuint name = static_cast<ALuint>(reinterpret_cast<uintptr_t>(SoundBufferInspector::Buffer(*ambient)));
    ALint frequency = 0, channels = 0, bits = 0;
    alGetBufferi(name, AL_FREQUENCY, &frequency);
    alGetBufferi(name, AL_CHANNELS, &channels);
    alGetBufferi(name, AL_BITS, &bits);
    EXPECT_EQ(frequency, 44100);
    EXPECT_EQ(channels, 1);
    EXPECT_EQ(bits, 16);
#endif
}

TEST(Mixer, PositionsArriveWithZMirroredAndVolumesInHundredthsOfADecibel)
{
    SoundManager manager(nullptr);
    ASSERT_TRUE(manager.IsValid());
    SoundBuffer* buffer = manager.CreateBufferFromResource(133);
    ASSERT_NE(buffer, nullptr);
    buffer->SetPosition(Vec3(1.0, 2.0, 3.0));
    const Mixer placed = Read(*buffer);
    EXPECT_DOUBLE_EQ(placed.x, 1.0);
    EXPECT_DOUBLE_EQ(placed.y, 2.0);
    EXPECT_DOUBLE_EQ(placed.z, -3.0);


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

TEST(Mixer, LoopingAndOnceAndTheEndOfTheManager)
{
    SoundManager manager(nullptr);
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
    // The manager goes with both still playing; nothing is left to stop them first.
}
