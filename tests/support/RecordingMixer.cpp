// The stand-in mixer's side of SoundManager and SoundBuffer (the saver programs use
// SoundManagerDirectSound.cpp or SoundManagerOpenAL.cpp instead).

#include "support/RecordingMixer.h"

#include "sound/SoundBuffer.h"
#include "sound/SoundManager.h"

#include <cstdio>
#include <cstring>

RecordingMixer g_mixer;
const char* const kNoSoundDeviceMessage = "Sorry, this application requires DirectX 8.0 or later";

struct SoundManagerBackend {
};

struct SoundBufferBackend {
    int number;     // 1 for the first buffer made since the last reset
    uint32_t bytes; // what Lock hands out
    std::vector<uint8_t> data;
};

namespace {
SoundManagerBackend g_device;

std::string Number(const SoundBufferBackend* parts)
{
    return "#" + std::to_string(parts->number);
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

SoundManager::SoundManager(void*, const SoundChoice&)
{
    if (g_mixer.hasDevice)
        backend_ = &g_device;
}

SoundManager::~SoundManager()
{
    ReleaseAllBuffers();
    if (backend_ != nullptr)
        Record("release device");
}

bool SoundManager::MakeMixerParts(SoundBuffer& buffer, int32_t bytes)
{
    if (g_mixer.refuseBuffers) {
        Record("refuse " + std::to_string(bytes));
        return false;
    }
    buffer.backend_ = new SoundBufferBackend{++g_mixer.buffersMade,
                                             static_cast<uint32_t>(bytes + g_mixer.lockedSizeDifference), {}};
    g_mixer.unlocked.emplace_back();
    Record("create " + std::to_string(bytes) + " " + Number(buffer.backend_));
    return true;
}

void SoundManager::ReleaseMixerParts(SoundBuffer& buffer)
{
    if (buffer.backend_ == nullptr)
        return;
    Record("release " + Number(buffer.backend_));
    delete buffer.backend_;
    buffer.backend_ = nullptr;
}

int SoundBuffer::Lock(void*& data, uint32_t& bytes)
{
    if (backend_ == nullptr)
        return 1;
    backend_->data.assign(backend_->bytes, 0);
    lockedData_ = backend_->data.data();
    lockedBytes_ = backend_->bytes;
    data = lockedData_;
    bytes = lockedBytes_;
    Record("lock " + Number(backend_));
    return 0;
}

int SoundBuffer::Unlock()
{
    if (backend_ == nullptr)
        return 1;
    const uint8_t* data = static_cast<const uint8_t*>(lockedData_);
    g_mixer.unlocked[static_cast<size_t>(backend_->number - 1)].assign(data, data + lockedBytes_);
    Record("unlock " + Number(backend_) + " " + std::to_string(lockedBytes_));
    return 0;
}

void SoundBuffer::PlayLooping()
{
    if (backend_ != nullptr)
        Record("play looping " + Number(backend_));
}

void SoundBuffer::PlayOnce()
{
    if (backend_ != nullptr)
        Record("play once " + Number(backend_));
}

void SoundBuffer::SetVolume(int32_t volume)
{
    if (backend_ != nullptr)
        Record("volume " + Number(backend_) + " " + std::to_string(volume));
}

void SoundBuffer::SetPosition(const Vec3& position)
{
    if (backend_ == nullptr)
        return;
    char text[96];
    std::snprintf(text, sizeof text, "position %s %g %g %g", Number(backend_).c_str(), position.x, position.y,
                  position.z);
    Record(text);
}
