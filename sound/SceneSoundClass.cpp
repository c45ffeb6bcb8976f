#include "sound/SceneSoundClass.h"

#include "base/RunLog.h"
#include "gfx/RandomUnit.h"
#include "sound/SoundBuffer.h"
#include "sound/SoundManager.h"

namespace {
constexpr uint16_t kAmbientSamples = 132;
constexpr int32_t kFloor = -4000;
constexpr int32_t kRise = 20;
constexpr int32_t kFall = 5;
} // namespace

SceneSoundClass::SceneSoundClass(SoundManager* manager)
{
    volume = kFloor;
    targetVolume = 0;
    sound = manager != nullptr ? manager->CreateBufferFromResource(kAmbientSamples) : nullptr;
    if (sound == nullptr) {
        Log().RecordAndKeep(kLogError, "Can not create SceneSoundClass object", "Error of initialization");
        return;
    }
    Update(0);
    sound->PlayLooping();
}

void SceneSoundClass::Update(int32_t)
{
    if (sound != nullptr)
        sound->SetVolume(volume);
    if (targetVolume != 0) {
        // Not clipped: a swell ends up to 20 above the target it passed.
        volume += kRise;
        if (volume > targetVolume)
            targetVolume = 0;
    } else if (volume > kFloor) {
        volume -= kFall;
        if (volume < kFloor)
            volume = kFloor;
    }
    const double chance = RandomUnit();
    if (chance > 0.99) {
        const double level = RandomUnit();
        targetVolume = static_cast<int32_t>(kFloor + 1600 * level);
    }
}
