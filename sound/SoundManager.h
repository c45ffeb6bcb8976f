#pragma once
// The sound device of one run, and later every sound buffer handed out from it. Created by video
// initialisation, destroyed at the very end of the render thread's teardown.
//
// Threads: the render thread only.

class SoundManager {
public:
    // Opens the default playback device for the saver window. Without one the manager is not
    // valid and the saver does not start.
    explicit SoundManager(void* window);
    // Releases every buffer, then the device.
    ~SoundManager();

    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    bool IsValid() const { return device_ != nullptr; }

private:
    void* device_ = nullptr;  // IDirectSound8 on Windows, the OpenAL device on Linux
    void* context_ = nullptr; // the OpenAL context on Linux; unused on Windows
};
