#include "sound/SoundManager.h"

#include <al.h>
#include <alc.h>

SoundManager::SoundManager(void*)
{
    // OpenAL has no window to attach to; the default device plays for the whole process.
    ALCdevice* device = alcOpenDevice(nullptr);
    if (device == nullptr)
        return;
    ALCcontext* context = alcCreateContext(device, nullptr);
    if (context == nullptr || alcMakeContextCurrent(context) == ALC_FALSE) {
        if (context != nullptr)
            alcDestroyContext(context);
        alcCloseDevice(device);
        return;
    }
    device_ = device;
    context_ = context;
}

SoundManager::~SoundManager()
{
    if (device_ == nullptr)
        return;
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(static_cast<ALCcontext*>(context_));
    alcCloseDevice(static_cast<ALCdevice*>(device_));
}
