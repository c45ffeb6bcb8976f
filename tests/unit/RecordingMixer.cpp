// The stand-in mixer's side of SoundManager and SoundBuffer (the saver programs use
// SoundManagerDirectSound.cpp or SoundManagerOpenAL.cpp instead).

#include "RecordingMixer.h"

#include "sound/SoundBuffer.h"
#include "sound/SoundManager.h"

#include <cstdio>
#include <cstring>

RecordingMixer g_mixer;

namespace {
std::string Number(const void* id)
{
    return "#" + std::to_string(reinterpret_cast<uintptr_t>(id));
}

void Record(const std::string& call)
{
    g_mixer.calls.push_back(call);
}
} // namespace

std::vector<std::string> MixerCalls(const std::string& prefix)
{
    std::vector<std::string> calls;
    for (const std::string& call : g_mixer.calls)
        if (call.compare(0, prefix.size(), prefix) == 0)
            calls.push_back(call);
    return calls;
}

SoundManager::SoundManager(void*)
{
    if (g_mixer.hasDevice)
        device_ = &g_mixer;
}

SoundManager::~SoundManager()
{
    ReleaseAllBuffers();
    if (device_ != nullptr)
        Record("release device");
}

SoundBuffer* SoundManager::CreateBuffer(int32_t bytes)
{
    if (device_ == nullptr || bytes <= 0)
        return nullptr;
    if (g_mixer.refuseBuffers) {
        Record("refuse " + std::to_string(bytes));
        return nullptr;
    }
    SoundBuffer* buffer = new SoundBuffer();
    const uintptr_t number = static_cast<uintptr_t>(++g_mixer.buffersMade);
    // The buffer's number stands in for all three of its platform parts.
    buffer->buffer_ = buffer->buffer8_ = buffer->buffer3d_ = reinterpret_cast<void*>(number);
    buffer->bytes_ = static_cast<uint32_t>(bytes + g_mixer.lockedSizeDifference);
    g_mixer.unlocked.emplace_back();
    Record("create " + std::to_string(bytes) + " " + Number(buffer->buffer_));
    buffers_.push_back(buffer);
    return buffer;
}

void SoundManager::DestroyBuffer(SoundBuffer* buffer)
{
    Record("release " + Number(buffer->buffer_));
    delete[] static_cast<uint8_t*>(buffer->lockedData_);
    delete buffer;
}

int SoundBuffer::Lock(void*& data, uint32_t& bytes)
{
    if (buffer3d_ == nullptr)
        return 1;
    delete[] static_cast<uint8_t*>(lockedData_);
    lockedData_ = new uint8_t[bytes_]();
    lockedBytes_ = bytes_;
    data = lockedData_;
    bytes = lockedBytes_;
    Record("lock " + Number(buffer_));
    return 0;
}

int SoundBuffer::Unlock()
{
    if (buffer3d_ == nullptr)
        return 1;
    const uint8_t* data = static_cast<const uint8_t*>(lockedData_);
    g_mixer.unlocked[reinterpret_cast<uintptr_t>(buffer_) - 1].assign(data, data + lockedBytes_);
    Record("unlock " + Number(buffer_) + " " + std::to_string(lockedBytes_));
    return 0;
}

void SoundBuffer::PlayLooping()
{
    if (buffer3d_ != nullptr)
        Record("play looping " + Number(buffer_));
}

void SoundBuffer::PlayOnce()
{
    if (buffer3d_ != nullptr)
        Record("play once " + Number(buffer_));
}

void SoundBuffer::SetVolume(int32_t volume)
{
    if (buffer3d_ != nullptr)
        Record("volume " + Number(buffer_) + " " + std::to_string(volume));
}

void SoundBuffer::SetPosition(const Vec3& position)
{
    if (buffer3d_ == nullptr)
        return;
    char text[96];
    std::snprintf(text, sizeof text, "position %s %g %g %g", Number(buffer_).c_str(), position.x, position.y,
                  position.z);
    Record(text);
}
