#pragma once
// One sound of the run: 16-bit mono samples at 44100 Hz with volume and a 3D position. Made,
// owned and released by the SoundManager; the scene sounds hold plain pointers to it.
//
// Every operation first checks that the buffer is complete (its mixer parts exist) and otherwise
// does nothing. Threads: the render thread only.

#include "gfx/Vec3.h"

#include <cstdint>

// The mixer's parts of one buffer. Each backend file defines it.
struct SoundBufferBackend;

class SoundBuffer {
public:
    // The buffer's whole memory for writing: 0 and its address and size, or 1.
    int Lock(void*& data, uint32_t& bytes);
    // Hands the written samples back to the mixer: 0, or 1 when the buffer is not complete.
    int Unlock();
    // Plays from the start over and over / once. A buffer that plays already goes on playing.
    void PlayLooping();
    void PlayOnce();
    // Attenuation in hundredths of a decibel: 0 is full volume, -10000 silence; other values are
    // refused, as the mixer of the Windows saver refuses them.
    void SetVolume(int32_t volume);
    // Scene coordinates: +y up, the viewer towards +z, +x to the viewer's right.
    void SetPosition(const Vec3& position);

    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

private:
    friend class SoundManager;
    friend struct SoundBufferInspector; // the mixer tests look at the mixer's parts
    SoundBuffer() = default;
    ~SoundBuffer() = default;

    SoundBufferBackend* backend_ = nullptr;
    void* lockedData_ = nullptr; // set by Lock, used by Unlock
    uint32_t lockedBytes_ = 0;
};
