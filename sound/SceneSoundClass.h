#pragma once
// The ambient sound of the scene. Stand-in until the sound buffers exist: it always holds its
// buffer and its volume walk does nothing.

#include <cstdint>

class SoundManager;

class SceneSoundClass {
public:
    explicit SceneSoundClass(SoundManager*) {}
    bool HoldsBuffer() const { return true; }
    void Update(int32_t) {}
};
