// The sound manager and its buffers on DirectSound 8. With sound off no device is started, which
// also lets the saver run on a machine without one (a server, a virtual machine, a remote
// session): the buffers then keep their samples in memory and play nowhere.

#include "sound/SoundManagerDirectSound.h"

#include "sound/SoundBuffer.h"
#include "sound/SoundManager.h"

#include <new>

const char* const kNoSoundDeviceMessage = "Sorry, this application requires DirectX 8.0 or later";

SoundManager::SoundManager(void* window, const SoundChoice& choice)
{
    if (!choice.wanted) {
        RecordSoundOff(choice.whyNot);
        backend_ = new (std::nothrow) SoundManagerBackend{nullptr};
        return;
    }
    IDirectSound8* device = nullptr;
    if (DirectSoundCreate8(nullptr, &device, nullptr) != DS_OK)
        return;
    backend_ = new (std::nothrow) SoundManagerBackend{device};
    if (backend_ == nullptr) {
        device->Release();
        return;
    }
    device->SetCooperativeLevel(static_cast<HWND>(window), DSSCL_NORMAL);
}

SoundManager::~SoundManager()
{
    ReleaseAllBuffers();
    if (backend_ == nullptr)
        return;
    if (backend_->device != nullptr)
        backend_->device->Release();
    delete backend_;
}

bool SoundManager::MakeMixerParts(SoundBuffer& buffer, int32_t bytes)
{
    buffer.backend_ = new (std::nothrow) SoundBufferBackend();
    if (buffer.backend_ == nullptr)
        return false;
    SoundBufferBackend& parts = *buffer.backend_;
    if (backend_->device == nullptr) {
        // Whole 16-bit samples, as the OpenAL Soft backend sizes its buffers.
        parts.silent.resize((static_cast<uint32_t>(bytes) + 1u) & ~1u);
        return true;
    }
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

    if (backend_->device->CreateSoundBuffer(&description, &parts.buffer, nullptr) != DS_OK)
        return false;
    void* buffer8 = nullptr;
    if (parts.buffer->QueryInterface(IID_IDirectSoundBuffer8, &buffer8) != S_OK)
        return false;
    parts.buffer8 = static_cast<IDirectSoundBuffer8*>(buffer8);
    void* buffer3d = nullptr;
    if (parts.buffer8->QueryInterface(IID_IDirectSound3DBuffer, &buffer3d) != S_OK)
        return false;
    parts.buffer3d = static_cast<IDirectSound3DBuffer*>(buffer3d);
    return true;
}

void SoundManager::ReleaseMixerParts(SoundBuffer& buffer)
{
    SoundBufferBackend* parts = buffer.backend_;
    if (parts == nullptr)
        return;
    // Playing buffers are released as they are; the device stops them.
    if (parts->buffer != nullptr)
        parts->buffer->Release();
    if (parts->buffer8 != nullptr)
        parts->buffer8->Release();
    if (parts->buffer3d != nullptr)
        parts->buffer3d->Release();
    delete parts;
    buffer.backend_ = nullptr;
}

int SoundBuffer::Lock(void*& data, uint32_t& bytes)
{
    if (backend_ == nullptr)
        return 1;
    lockedData_ = nullptr;
    lockedBytes_ = 0;
    if (backend_->buffer8 == nullptr) {
        data = backend_->silent.data();
        bytes = static_cast<uint32_t>(backend_->silent.size());
        return 0;
    }
    void* locked = nullptr;
    DWORD lockedBytes = 0;
    if (backend_->buffer8->Lock(0, 0, &locked, &lockedBytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER) != DS_OK)
        return 1;
    lockedData_ = locked;
    lockedBytes_ = lockedBytes;
    data = locked;
    bytes = lockedBytes;
    return 0;
}

int SoundBuffer::Unlock()
{
    if (backend_ == nullptr)
        return 1;
    if (lockedData_ != nullptr && backend_->buffer8 != nullptr)
        backend_->buffer8->Unlock(lockedData_, lockedBytes_, nullptr, 0);
    return 0;
}

void SoundBuffer::PlayLooping()
{
    if (backend_ != nullptr && backend_->buffer8 != nullptr)
        backend_->buffer8->Play(0, 0, DSBPLAY_LOOPING);
}

void SoundBuffer::PlayOnce()
{
    if (backend_ != nullptr && backend_->buffer8 != nullptr)
        backend_->buffer8->Play(0, 0, 0);
}

void SoundBuffer::SetVolume(int32_t volume)
{
    if (backend_ != nullptr && backend_->buffer8 != nullptr)
        backend_->buffer8->SetVolume(volume);
}

void SoundBuffer::SetPosition(const Vec3& position)
{
    // DirectSound's axes are left-handed: its z points away from the viewer.
    if (backend_ != nullptr && backend_->buffer3d != nullptr)
        backend_->buffer3d->SetPosition(static_cast<float>(position.x), static_cast<float>(position.y),
                                        static_cast<float>(-position.z), DS3D_IMMEDIATE);
}
