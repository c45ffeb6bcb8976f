#pragma once
// The sky picture over the ground band. Stand-in until the bitmap textures exist: it reports a
// texture so that the scene goes on, and draws nothing.

#include <cstdint>

class Horizon {
public:
    uint32_t texture = 1;
    void Draw() {}
};
