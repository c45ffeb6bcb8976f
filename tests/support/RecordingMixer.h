#pragma once
// A stand-in for the platform mixer under SoundManager and SoundBuffer, for testing the sound
// logic without sound hardware: it records every call that would reach the mixer, in order, and
// can be told to have no device, to refuse buffers or to lock a size other than the one asked for.

#include <cstdint>
#include <string>
#include <vector>

struct RecordingMixer {
    bool hasDevice = true;
    bool refuseBuffers = false;
    int32_t lockedSizeDifference = 0;
    // "create 88200 #1", "lock #1", "unlock #1 88200", "volume #1 -4000", "position #1 1 2 3",
    // "play looping #1", "play once #1", "release #1", "release device".
    std::vector<std::string> calls;
    // The bytes each buffer held when it was last unlocked, by buffer number - 1.
    std::vector<std::vector<uint8_t>> unlocked;
    int buffersMade = 0;
};

// The one mixer of the test program; tests reset it with `g_mixer = RecordingMixer()`.
extern RecordingMixer g_mixer;

// The calls recorded since the last reset that start with `prefix`.
std::vector<std::string> MixerCalls(const std::string& prefix = "");
