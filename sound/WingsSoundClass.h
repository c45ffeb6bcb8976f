#pragma once
// The beat of the creature's wings: a flap sample that follows the head in 3D and plays when the
// head rises quickly, at most once in any three seconds.
//
// The buffer belongs to the SoundManager. Threads: the render thread only.

#include "gfx/Vec3.h"

#include <cstdint>

class SoundBuffer;
class SoundManager;

class WingsSoundClass {
public:
    // Takes the flap buffer (resource 133) from the manager at -6 dB, parked at (100, 100, 100)
    // until the first update. Without a buffer it records the failure and keeps the user message.
    explicit WingsSoundClass(SoundManager* manager);

    WingsSoundClass(const WingsSoundClass&) = delete;
    WingsSoundClass& operator=(const WingsSoundClass&) = delete;

    bool HoldsBuffer() const { return sound != nullptr; }
    // Moves the sound to the head and plays a flap when the head rose by more than 0.015 since
    // the last update and more than 3000 ms were summed before this frame's elapsed time.
    void Update(const Vec3& head, uint32_t elapsedMilliseconds);

    SoundBuffer* sound = nullptr;
    uint32_t msSinceFlap = 0;
    double lastHeight = 0.0;
};
