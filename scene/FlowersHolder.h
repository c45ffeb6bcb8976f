#pragma once
// The four flowers. Stand-in until their models and shaders exist: valid, and draws nothing.

#include <cstdint>

class FlowersHolder {
public:
#ifdef MORROWMERE_TEST_FAILING_FLOWERS
    bool valid = false; // test builds only: a scene object that fails
#else
    bool valid = true;
#endif
    void Update(int32_t) {}
    void Draw() {}
};
