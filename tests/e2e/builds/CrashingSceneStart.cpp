// Test builds only (linked with --wrap for InitializeScene): the render thread crashes as the
// scene starts, so that a test sees how the process ends after a crash.

#include <cstdint>

class SoundManager;

extern "C" int32_t __wrap__Z15InitializeSceneP12SoundManager(SoundManager*)
{
    volatile int32_t* nowhere = nullptr;
    *nowhere = 1;
    return *nowhere;
}
