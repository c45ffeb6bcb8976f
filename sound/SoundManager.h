#pragma once
// The sound device of one run and every sound buffer handed out from it. Created by video
// initialisation, destroyed at the very end of the render thread's teardown; the scene sounds ask
// it for their buffers while the scene is built.
//
// Threads: the render thread only.

#include <cstddef>
#include <cstdint>
#include <vector>

class SoundBuffer;

// Whether a run plays sound (the default) or keeps silent, and why not: the host decides before
// the run starts. Silent, the manager opens no output device: its buffers take every call and
// play nothing, and it writes "Sound is off: " and the reason to the run log.
struct SoundChoice {
    bool wanted = true;
    const char* whyNot = ""; // a static text
};

// The mixer's device: DirectSound on Windows, OpenAL Soft on Linux. Each backend file defines it.
struct SoundManagerBackend;

class SoundManager {
public:
    // Opens the default playback device for the saver window, or none when `choice` is silent.
    // Without a device the manager is not valid, hands out no buffer, and the saver does not start.
    SoundManager(void* window, const SoundChoice& choice);
    // Releases every buffer in the order they were made, playing or not, then the device.
    ~SoundManager();

    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    bool IsValid() const { return backend_ != nullptr; }

    // A silent buffer of `bytes` bytes (16-bit mono, 44100 Hz, volume and 3D control), or null
    // without a device, for a size of 0 or less, or when the mixer refuses it.
    SoundBuffer* CreateBuffer(int32_t bytes);
    // A buffer holding the samples of `SoundSamples` resource `id`, not playing; null when there
    // is no such resource or its buffer cannot be made and filled whole. A failure leaves no
    // buffer behind.
    SoundBuffer* CreateBufferFromResource(uint16_t id);

    // The buffers held, in the order they were made.
    size_t BufferCount() const { return buffers_.size(); }
    // Pauses every sound that plays (the ambient loop and the wings alike), or resumes those it
    // paused. Linux only (OpenAL): the Linux hosts pause the sound while nothing shows the scene,
    // where the Windows saver closes.
    void PauseDevice(bool paused);

private:
    // The backend's side of a buffer of `bytes` bytes (above 0): its mixer parts, made on the
    // manager's device. False when any is missing; what was made stays for ReleaseMixerParts.
    bool MakeMixerParts(SoundBuffer& buffer, int32_t bytes);
    // Releases whichever of the buffer's mixer parts exist.
    static void ReleaseMixerParts(SoundBuffer& buffer);
    // Releases the buffer's mixer parts that exist and frees it.
    static void DestroyBuffer(SoundBuffer* buffer);
    void ReleaseAllBuffers();

    SoundManagerBackend* backend_ = nullptr; // none: no device
    std::vector<SoundBuffer*> buffers_;
};

// Writes the record that says sound is off, and why. Backends only.
void RecordSoundOff(const char* why);

// The message the user sees when no sound manager can be made, in the words of the platform's
// mixer. Defined by the backend.
extern const char* const kNoSoundDeviceMessage;
