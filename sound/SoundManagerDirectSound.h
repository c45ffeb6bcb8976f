#pragma once
// The DirectSound 8 backend's own parts of SoundManager and SoundBuffer (the mixer tests read
// them back).

#include <windows.h>

#include <dsound.h>

#include <cstdint>
#include <vector>

struct SoundManagerBackend {
    // None when sound is off: then no DirectSound device is started at all.
    IDirectSound8* device;
};

struct SoundBufferBackend {
    IDirectSoundBuffer* buffer = nullptr;
    IDirectSoundBuffer8* buffer8 = nullptr;   // lock, play and volume
    IDirectSound3DBuffer* buffer3d = nullptr; // the 3D position
    std::vector<uint8_t> silent;              // with sound off: what Lock hands out, played nowhere
};
