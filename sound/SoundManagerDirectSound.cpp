#include "sound/SoundManager.h"

#include <windows.h>

#include <dsound.h>

SoundManager::SoundManager(void* window)
{
    IDirectSound8* device = nullptr;
    if (DirectSoundCreate8(nullptr, &device, nullptr) == DS_OK) {
        device->SetCooperativeLevel(static_cast<HWND>(window), DSSCL_NORMAL);
        device_ = device;
    }
}

SoundManager::~SoundManager()
{
    if (device_)
        static_cast<IDirectSound8*>(device_)->Release();
}
