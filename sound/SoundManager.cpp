// The part of the sound manager that is the same on every platform: filling a buffer from the
// executable's samples, and the list of buffers.

#include "sound/SoundManager.h"

#include "base/ProcessGlobals.h"
#include "base/RunLog.h"
#include "base/SettingsStore.h"
#include "gfx/ResourceLookup.h"
#include "sound/SoundBuffer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
bool g_soundWanted = true;
const char* g_whyNot = "";
} // namespace

void SetSoundWanted(bool wanted, const char* whyNot)
{
    g_soundWanted = wanted;
    g_whyNot = whyNot;
}

void SetSoundWantedFromSettings()
{
    int32_t enableSound = 1;
    Settings().Get("EnableSound", enableSound);
    SetSoundWanted(enableSound != 0, "EnableSound is 0 in the settings");
}

bool SoundWanted()
{
    return g_soundWanted;
}

const char* WhySoundIsOff()
{
    return g_whyNot;
}

void RecordSoundOff(const char* why)
{
    char text[160];
    std::snprintf(text, sizeof text, "Sound is off: %s", why);
    Log().Record(kLogNotify, text);
}

SoundBuffer* SoundManager::CreateBufferFromResource(uint16_t id)
{
    if (!IsValid())
        return nullptr;
    ResourceBytes samples;
    if (!FindResourceBytes(ResourceType::SoundSamples, id, samples) || samples.size > INT32_MAX)
        return nullptr;
    SoundBuffer* buffer = CreateBuffer(static_cast<int32_t>(samples.size));
    if (buffer == nullptr)
        return nullptr;
    void* data = nullptr;
    uint32_t bytes = 0;
    // The mixer may size a buffer its own way (whole samples); only an exact fit is filled.
    if (buffer->Lock(data, bytes) != 0 || bytes != samples.size) {
        buffers_.erase(std::find(buffers_.begin(), buffers_.end(), buffer));
        DestroyBuffer(buffer);
        return nullptr;
    }
    std::memcpy(data, samples.data, samples.size);
    buffer->Unlock();
    return buffer;
}

void SoundManager::ReleaseAllBuffers()
{
    for (SoundBuffer* buffer : buffers_)
        DestroyBuffer(buffer);
    buffers_.clear();
}
