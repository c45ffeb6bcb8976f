// The part of the sound manager that is the same on every platform: filling a buffer from the
// executable's samples, and the list of buffers.

#include "sound/SoundManager.h"

#include "base/RunLog.h"
#include "gfx/ResourceLookup.h"
#include "sound/SoundBuffer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

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

SoundBuffer* SoundManager::CreateBuffer(int32_t bytes)
{
    if (!IsValid() || bytes <= 0)
        return nullptr;
    SoundBuffer* buffer = new (std::nothrow) SoundBuffer();
    if (buffer == nullptr)
        return nullptr;
    if (!MakeMixerParts(*buffer, bytes)) {
        DestroyBuffer(buffer);
        return nullptr;
    }
    buffers_.push_back(buffer);
    return buffer;
}

void SoundManager::DestroyBuffer(SoundBuffer* buffer)
{
    ReleaseMixerParts(*buffer);
    delete buffer;
}

void SoundManager::ReleaseAllBuffers()
{
    for (SoundBuffer* buffer : buffers_)
        DestroyBuffer(buffer);
    buffers_.clear();
}
