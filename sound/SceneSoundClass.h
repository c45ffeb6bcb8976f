#pragma once
// The ambient sound: a one-second sample played in a loop for the whole run, its volume drifting
// in a slow random walk. Now and then it swells towards a random level between -40 and -24 dB
// (20 hundredths of a decibel per frame), then sinks back (5 per frame) to a floor of -40 dB.
//
// Volumes are attenuations in hundredths of a decibel. The buffer belongs to the SoundManager.
// Threads: the render thread only.

#include <cstdint>

class SoundBuffer;
class SoundManager;

class SceneSoundClass {
public:
    // Takes the ambient buffer (resource 132) from the manager, sets its first volume and starts
    // the loop. Without a buffer it records the failure and keeps the user message.
    explicit SceneSoundClass(SoundManager* manager);

    SceneSoundClass(const SceneSoundClass&) = delete;
    SceneSoundClass& operator=(const SceneSoundClass&) = delete;

    bool HoldsBuffer() const { return sound != nullptr; }
    // One step of the walk. The buffer gets the volume from before the step, so it lags by one
    // frame. Draws one or two random numbers. The elapsed time is not used: the walk counts frames.
    void Update(int32_t elapsedMilliseconds);

    SoundBuffer* sound = nullptr;
    int32_t volume = -4000;
    int32_t targetVolume = 0; // 0: no target
};
