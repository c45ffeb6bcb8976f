#pragma once
// The four flowers. Stand-in until their models and shaders exist: valid, and draws nothing.

#include <cstdint>

class FlowersHolder {
public:
    bool valid = true;
    void Update(int32_t) {}
    void Draw() {}
};
