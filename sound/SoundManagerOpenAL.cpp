// The sound manager and its buffers on OpenAL Soft: one source per buffer, samples written into
// staging memory between Lock and Unlock and handed to OpenAL on Unlock.
//
// The listener stays where OpenAL puts it: at the origin, the centre of the scene, facing -z
// with +y up and +x to its right. OpenAL's axes are the scene's own (both right-handed), so
// positions pass unchanged: the wing beat comes from where the creature is, left or right, in
// front or behind. The distance model is OpenAL's default (inverse distance, clamped at 1):
// everything in view is within about one unit of the listener and plays at its own volume, panned
// by its direction.
//
// A screen saver also runs on machines without any sound output (locked screens, servers, virtual
// machines). There it runs silently: OpenAL Soft's loopback device takes every call and renders
// nothing, since nobody asks it for samples.

#include "sound/SoundManagerOpenAL.h"

#include "sound/SoundBuffer.h"
#include "sound/SoundManager.h"

#define AL_ALEXT_PROTOTYPES
#include <alext.h>

#include <cmath>
#include <cstdio>
#include <new>

const char* const kNoSoundDeviceMessage = "Sorry, this program needs a working OpenAL Soft sound library";

namespace {
constexpr ALsizei kSampleRate = 44100;

// The device and context for one run; false when not even the silent device opens.
bool OpenDevice(bool silent, ALCdevice*& device, ALCcontext*& context)
{
    const ALCint silentFormat[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT,
                                   ALC_FREQUENCY,            kSampleRate,     0};
    device = silent ? alcLoopbackOpenDeviceSOFT(nullptr) : alcOpenDevice(nullptr);
    if (device == nullptr)
        return false;
    context = alcCreateContext(device, silent ? silentFormat : nullptr);
    if (context != nullptr && alcMakeContextCurrent(context) == ALC_TRUE)
        return true;
    if (context != nullptr)
        alcDestroyContext(context);
    alcCloseDevice(device);
    return false;
}
// Whether the device itself can be paused: a real one with the extension (the silent device has
// no stream to stop).
bool DevicePauses(const SoundManagerBackend& backend)
{
    return !backend.silent && alcIsExtensionPresent(backend.device, "ALC_SOFT_pause_device") == ALC_TRUE;
}
} // namespace

SoundManager::SoundManager(void*, const SoundChoice& choice)
{
    // OpenAL has no window to attach to; the device plays for the whole process.
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    bool silent = !choice.wanted;
    if (!silent && !OpenDevice(false, device, context)) {
        silent = true;
        RecordSoundOff("no sound output device could be opened");
        std::fputs("morrowmere: no sound output device could be opened; running without sound\n", stderr);
    } else if (silent) {
        RecordSoundOff(choice.whyNot);
    }
    if (silent && !OpenDevice(true, device, context))
        return;
    backend_ = new (std::nothrow) SoundManagerBackend{device, context, silent, {}};
    if (backend_ == nullptr) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
        alcCloseDevice(device);
    }
}

SoundManager::~SoundManager()
{
    ReleaseAllBuffers();
    if (backend_ == nullptr)
        return;
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(backend_->context);
    alcCloseDevice(backend_->device);
    delete backend_;
}

void SoundManager::PauseDevice(bool paused)
{
    if (backend_ == nullptr)
        return;
    // Every source that plays stops where it is, and only those go on again: the mixer then
    // mixes nothing, and each sound resumes at the sample it stopped on.
    if (paused) {
        backend_->paused.clear();
        for (SoundBuffer* buffer : buffers_) {
            ALint state = AL_STOPPED;
            alGetSourcei(buffer->backend_->source, AL_SOURCE_STATE, &state);
            if (state == AL_PLAYING)
                backend_->paused.push_back(buffer->backend_->source);
        }
        if (!backend_->paused.empty())
            alSourcePausev(static_cast<ALsizei>(backend_->paused.size()), backend_->paused.data());
        // The device rests too: its stream stops, so that a sound server lets the sink suspend and
        // the sound card power down, instead of mixing silence all night.
        if (DevicePauses(*backend_))
            alcDevicePauseSOFT(backend_->device);
    } else {
        if (DevicePauses(*backend_)) {
            alcGetError(backend_->device);
            alcDeviceResumeSOFT(backend_->device);
            // Where the device cannot start again (its server gone meanwhile, say), the run goes
            // on without sound, and says so.
            if (alcGetError(backend_->device) != ALC_NO_ERROR)
                RecordSoundOff("the sound device could not be resumed");
        }
        // A sound started again while paused (a frame drawn for an output plugged in) plays on
        // as it is.
        for (ALuint source : backend_->paused) {
            ALint state = AL_STOPPED;
            alGetSourcei(source, AL_SOURCE_STATE, &state);
            if (state == AL_PAUSED)
                alSourcePlay(source);
        }
        backend_->paused.clear();
    }
}

bool SoundManager::MakeMixerParts(SoundBuffer& buffer, int32_t bytes)
{
    buffer.backend_ = new (std::nothrow) SoundBufferBackend();
    if (buffer.backend_ == nullptr)
        return false;
    SoundBufferBackend& parts = *buffer.backend_;
    // Whole 16-bit samples, as the Windows mixer sizes its buffers.
    parts.staging.resize((static_cast<uint32_t>(bytes) + 1u) & ~1u);
    alGetError();
    alGenBuffers(1, &parts.buffer);
    if (alGetError() != AL_NO_ERROR)
        return false;
    alGenSources(1, &parts.source);
    return alGetError() == AL_NO_ERROR;
}

void SoundManager::ReleaseMixerParts(SoundBuffer& buffer)
{
    SoundBufferBackend* parts = buffer.backend_;
    if (parts == nullptr)
        return;
    // The source goes first: OpenAL keeps a buffer that a source still holds.
    if (parts->source != 0) {
        alSourceStop(parts->source);
        alDeleteSources(1, &parts->source);
    }
    if (parts->buffer != 0)
        alDeleteBuffers(1, &parts->buffer);
    delete parts;
    buffer.backend_ = nullptr;
}

int SoundBuffer::Lock(void*& data, uint32_t& bytes)
{
    if (backend_ == nullptr)
        return 1;
    lockedData_ = backend_->staging.data();
    lockedBytes_ = static_cast<uint32_t>(backend_->staging.size());
    data = lockedData_;
    bytes = lockedBytes_;
    return 0;
}

int SoundBuffer::Unlock()
{
    if (backend_ == nullptr)
        return 1;
    if (lockedData_ != nullptr) {
        // OpenAL refuses new data for a buffer that a source holds.
        alSourcei(backend_->source, AL_BUFFER, 0);
        alBufferData(backend_->buffer, AL_FORMAT_MONO16, lockedData_, static_cast<ALsizei>(lockedBytes_),
                     kSampleRate);
        alSourcei(backend_->source, AL_BUFFER, static_cast<ALint>(backend_->buffer));
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
    if (backend_ != nullptr)
        Play(backend_->source, true);
}

void SoundBuffer::PlayOnce()
{
    if (backend_ != nullptr)
        Play(backend_->source, false);
}

void SoundBuffer::SetVolume(int32_t volume)
{
    if (backend_ == nullptr || volume > 0 || volume < -10000)
        return;
    // Hundredths of a decibel to an amplitude factor; the bottom of the scale is silence.
    const double gain = volume == -10000 ? 0.0 : std::pow(10.0, volume / 2000.0);
    alSourcef(backend_->source, AL_GAIN, static_cast<ALfloat>(gain));
}

void SoundBuffer::SetPosition(const Vec3& position)
{
    if (backend_ != nullptr)
        alSource3f(backend_->source, AL_POSITION, static_cast<ALfloat>(position.x), static_cast<ALfloat>(position.y),
                   static_cast<ALfloat>(position.z));
}
