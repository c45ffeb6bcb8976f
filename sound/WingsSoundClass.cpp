#include "sound/WingsSoundClass.h"

#include "base/RunLog.h"
#include "sound/SoundBuffer.h"
#include "sound/SoundManager.h"

namespace {
constexpr uint16_t kFlapSamples = 133;
constexpr double kRise = 0.015;
constexpr uint32_t kGapMilliseconds = 3000;
} // namespace

WingsSoundClass::WingsSoundClass(SoundManager* manager)
{
    lastHeight = 0.0;
    msSinceFlap = 0;
    sound = manager != nullptr ? manager->CreateBufferFromResource(kFlapSamples) : nullptr;
    if (sound == nullptr) {
        Log().RecordAndKeep(kLogError, "Can not create WingsSoundClass object", "Error of initialization");
        return;
    }
    sound->SetVolume(-600);
    sound->SetPosition(Vec3(100.0, 100.0, 100.0));
}

void WingsSoundClass::Update(const Vec3& head, uint32_t elapsedMilliseconds)
{
    if (sound == nullptr)
        return;
    sound->SetPosition(head);
    if (head.y - lastHeight > kRise && msSinceFlap > kGapMilliseconds) {
        msSinceFlap = 0;
        sound->PlayOnce();
    }
    // Added after the test: a flap needs the gap summed over the frames before this one.
    msSinceFlap += elapsedMilliseconds;
    lastHeight = head.y;
}
