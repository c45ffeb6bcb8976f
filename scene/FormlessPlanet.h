#pragma once
// The planet in its glow. Stand-in until the disc and the sprites exist: valid, and draws nothing.

#include <cstdint>

class FormlessPlanet {
public:
    bool valid = true;
    void Update(int32_t) {}
    void Draw() {}
};
