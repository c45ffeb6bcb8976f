// Test builds only (linked with --wrap for InitializeScene): the scene takes three seconds longer
// to start, so that a test can end the run while it is starting.

#include <chrono>
#include <cstdint>
#include <thread>

class SoundManager;

extern "C" int32_t __real__Z15InitializeSceneP12SoundManager(SoundManager* sounds);

extern "C" int32_t __wrap__Z15InitializeSceneP12SoundManager(SoundManager* sounds)
{
    std::this_thread::sleep_for(std::chrono::seconds(3));
    return __real__Z15InitializeSceneP12SoundManager(sounds);
}
