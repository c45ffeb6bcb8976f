// The sound manager and its buffers on OpenAL Soft: one source per buffer, samples written into
// staging memory between Lock and Unlock and handed to OpenAL on Unlock.
//
// The listener stays where OpenAL puts it: at the origin, the centre of the scene, facing -z
// with +x to its right. Positions arrive with z mirrored, as the Windows mixer takes them; left
// and right are unchanged, so the wing beat follows the creature's head across the screen. The
// distance model is OpenAL's default (inverse distance, clamped at 1): everything in view is
// within about one unit of the listener and plays at its own volume, panned by its direction.

#include "sound/SoundBuffer.h"
#include "sound/SoundManager.h"

#include <al.h>
#include <alc.h>

#include <cmath>
#include <cstdint>
#include <new>

namespace {
constexpr ALsizei kSampleRate = 44100;

ALuint Name(void* handle)
{
    return static_cast<ALuint>(reinterpret_cast<uintptr_t>(handle));
}

void* Handle(ALuint name)
{
    return reinterpret_cast<void*>(static_cast<uintptr_t>(name));
}
} // namespace

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
    ReleaseAllBuffers();
    if (device_ == nullptr)
        return;
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(static_cast<ALCcontext*>(context_));
    alcCloseDevice(static_cast<ALCdevice*>(device_));
}

SoundBuffer* SoundManager::CreateBuffer(int32_t bytes)
{
    if (device_ == nullptr || bytes <= 0)
        return nullptr;
    SoundBuffer* buffer = new (std::nothrow) SoundBuffer();
    if (buffer == nullptr)
        return nullptr;
    // Whole 16-bit samples, as the Windows mixer sizes its buffers.
    const uint32_t size = (static_cast<uint32_t>(bytes) + 1u) & ~1u;
    alGetError();
    ALuint name = 0;
    alGenBuffers(1, &name);
    bool complete = alGetError() == AL_NO_ERROR;
    if (complete) {
        buffer->buffer_ = Handle(name);
        buffer->buffer8_ = new (std::nothrow) uint8_t[size]();
        buffer->bytes_ = size;
        complete = buffer->buffer8_ != nullptr;
    }
    if (complete) {
        ALuint source = 0;
        alGenSources(1, &source);
        complete = alGetError() == AL_NO_ERROR;
        if (complete)
            buffer->buffer3d_ = Handle(source);
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
    // The source goes first: OpenAL keeps a buffer that a source still holds.
    if (buffer->buffer3d_ != nullptr) {
        const ALuint source = Name(buffer->buffer3d_);
        alSourceStop(source);
        alDeleteSources(1, &source);
    }
    if (buffer->buffer_ != nullptr) {
        const ALuint name = Name(buffer->buffer_);
        alDeleteBuffers(1, &name);
    }
    delete[] static_cast<uint8_t*>(buffer->buffer8_);
    delete buffer;
}

int SoundBuffer::Lock(void*& data, uint32_t& bytes)
{
    if (buffer3d_ == nullptr)
        return 1;
    lockedData_ = buffer8_;
    lockedBytes_ = bytes_;
    data = lockedData_;
    bytes = lockedBytes_;
    return 0;
}

int SoundBuffer::Unlock()
{
    if (buffer3d_ == nullptr)
        return 1;
    if (lockedData_ != nullptr) {
        // OpenAL refuses new data for a buffer that a source holds.
        const ALuint source = Name(buffer3d_);
        alSourcei(source, AL_BUFFER, 0);
        alBufferData(Name(buffer_), AL_FORMAT_MONO16, lockedData_, static_cast<ALsizei>(lockedBytes_), kSampleRate);
        alSourcei(source, AL_BUFFER, static_cast<ALint>(Name(buffer_)));
    }
    return 0;
}

namespace {
void Play(ALuint source, bool looping)
{
    alSourcei(source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING)
        alSourcePlay(source);
}
} // namespace

void SoundBuffer::PlayLooping()
{
    if (buffer3d_ != nullptr)
        Play(Name(buffer3d_), true);
}

void SoundBuffer::PlayOnce()
{
    if (buffer3d_ != nullptr)
        Play(Name(buffer3d_), false);
}

void SoundBuffer::SetVolume(int32_t volume)
{
    if (buffer3d_ == nullptr || volume > 0 || volume < -10000)
        return;
    // Hundredths of a decibel to an amplitude factor; the bottom of the scale is silence.
    const double gain = volume == -10000 ? 0.0 : std::pow(10.0, volume / 2000.0);
    alSourcef(Name(buffer3d_), AL_GAIN, static_cast<ALfloat>(gain));
}

void SoundBuffer::SetPosition(const Vec3& position)
{
    if (buffer3d_ != nullptr)
        alSource3f(Name(buffer3d_), AL_POSITION, static_cast<ALfloat>(position.x), static_cast<ALfloat>(position.y),
                   static_cast<ALfloat>(-position.z));
}
