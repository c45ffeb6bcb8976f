#pragma once
// The OpenAL Soft backend's own parts of SoundManager and SoundBuffer (the mixer tests read them
// back).

#include <al.h>
#include <alc.h>

#include <cstdint>
#include <vector>

struct SoundManagerBackend {
    ALCdevice* device;
    ALCcontext* context;
    // A device that plays nothing: no output device could be opened, or sound was turned off.
    // Everything else works as on a real device.
    bool silent;
    std::vector<ALuint> paused; // the sources that played when the mix was paused
};

struct SoundBufferBackend {
    ALuint buffer = 0;
    ALuint source = 0;
    std::vector<uint8_t> staging; // written between Lock and Unlock, handed to OpenAL by Unlock
};
