// The sound manager and its buffers on DirectSound 8.

#include "sound/SoundBuffer.h"
#include "sound/SoundManager.h"

#include <windows.h>

#include <dsound.h>

#include <new>

namespace {
IDirectSound8* Device(void* device)
{
    return static_cast<IDirectSound8*>(device);
}
IDirectSoundBuffer8* Buffer8(void* buffer)
{
    return static_cast<IDirectSoundBuffer8*>(buffer);
}
} // namespace

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
    ReleaseAllBuffers();
    if (device_ != nullptr)
        Device(device_)->Release();
}

SoundBuffer* SoundManager::CreateBuffer(int32_t bytes)
{
    if (device_ == nullptr || bytes <= 0)
        return nullptr;
    SoundBuffer* buffer = new (std::nothrow) SoundBuffer();
    if (buffer == nullptr)
        return nullptr;
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = 44100;
    format.nAvgBytesPerSec = 88200;
    format.nBlockAlign = 2;
    format.wBitsPerSample = 16;
    format.cbSize = 0;
    DSBUFFERDESC description = {};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_CTRL3D | DSBCAPS_CTRLVOLUME | DSBCAPS_MUTE3DATMAXDISTANCE;
    description.dwBufferBytes = static_cast<DWORD>(bytes);
    description.dwReserved = 0;
    description.lpwfxFormat = &format;
    description.guid3DAlgorithm = GUID_NULL;

    IDirectSoundBuffer* created = nullptr;
    bool complete = Device(device_)->CreateSoundBuffer(&description, &created, nullptr) == DS_OK;
    buffer->buffer_ = created;
    if (complete) {
        void* buffer8 = nullptr;
        complete = created->QueryInterface(IID_IDirectSoundBuffer8, &buffer8) == S_OK;
        buffer->buffer8_ = buffer8;
    }
    if (complete) {
        void* buffer3d = nullptr;
        complete = Buffer8(buffer->buffer8_)->QueryInterface(IID_IDirectSound3DBuffer, &buffer3d) == S_OK;
        buffer->buffer3d_ = buffer3d;
    }
    if (!complete) {
        DestroyBuffer(buffer);
        return nullptr;
    }
    buffers_.push_back(buffer);
    return buffer;
}

void SoundManager::DestroyBuffer(SoundBuffer* buffer)
{
    // Playing buffers are released as they are; the device stops them.
    if (buffer->buffer_ != nullptr)
        static_cast<IDirectSoundBuffer*>(buffer->buffer_)->Release();
    if (buffer->buffer8_ != nullptr)
        Buffer8(buffer->buffer8_)->Release();
    if (buffer->buffer3d_ != nullptr)
        static_cast<IDirectSound3DBuffer*>(buffer->buffer3d_)->Release();
    delete buffer;
}

int SoundBuffer::Lock(void*& data, uint32_t& bytes)
{
    if (buffer3d_ == nullptr)
        return 1;
    lockedData_ = nullptr;
    lockedBytes_ = 0;
    void* locked = nullptr;
    DWORD lockedBytes = 0;
    if (Buffer8(buffer8_)->Lock(0, 0, &locked, &lockedBytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER) != DS_OK)
        return 1;
    lockedData_ = locked;
    lockedBytes_ = lockedBytes;
    data = locked;
    bytes = lockedBytes;
    return 0;
}

int SoundBuffer::Unlock()
{
    if (buffer3d_ == nullptr)
        return 1;
    if (lockedData_ != nullptr)
        Buffer8(buffer8_)->Unlock(lockedData_, lockedBytes_, nullptr, 0);
    return 0;
}

void SoundBuffer::PlayLooping()
{
    if (buffer3d_ != nullptr)
        Buffer8(buffer8_)->Play(0, 0, DSBPLAY_LOOPING);
}

void SoundBuffer::PlayOnce()
{
    if (buffer3d_ != nullptr)
        Buffer8(buffer8_)->Play(0, 0, 0);
}

void SoundBuffer::SetVolume(int32_t volume)
{
    if (buffer3d_ != nullptr)
        Buffer8(buffer8_)->SetVolume(volume);
}

void SoundBuffer::SetPosition(const Vec3& position)
{
    if (buffer3d_ != nullptr)
        static_cast<IDirectSound3DBuffer*>(buffer3d_)->SetPosition(
            static_cast<float>(position.x), static_cast<float>(position.y), static_cast<float>(-position.z),
            DS3D_IMMEDIATE);
}
