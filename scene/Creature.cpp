#include "scene/Creature.h"

#include "host/SaverFrame.h"

#ifdef MORROWMERE_TEST_SLOW_CREATURE
#include <chrono>
#include <thread>
#endif

#ifdef MORROWMERE_TEST_FLAP_ON_THE_RIGHT
namespace {
int g_testFrame = 0;
} // namespace
#endif

Creature::Creature()
{
    valid_ = false;
#ifdef MORROWMERE_TEST_SLOW_CREATURE
    // Test builds only: a long start-up, so that the saver can be closed while it starts.
    std::this_thread::sleep_for(std::chrono::seconds(3));
#endif
    wingSound_ = new WingsSoundClass(g_frame.soundManager);
    if (!wingSound_->HoldsBuffer())
        return;
    valid_ = true;
}

Creature::~Creature()
{
    delete wingSound_;
}

void Creature::Step([[maybe_unused]] int32_t elapsedMilliseconds)
{
#ifdef MORROWMERE_TEST_FLAP_ON_THE_RIGHT
    // Test builds only: a head on the right of the screen that keeps rising, so the wings sound
    // there every three seconds.
    const double height = 0.02 * (g_testFrame++ % 10);
    wingSound_->Update(Vec3(0.9, height, 0.0), static_cast<uint32_t>(elapsedMilliseconds));
#endif
}
