#pragma once
// The application frame: what the window thread and the render thread share for one run, and the
// frame clock. Written once for both platforms. The host owns it and hands it to its render
// thread, which hands it on to whatever draws; nothing reaches for it.
//
// Threads: the window thread writes `stopFlag` (0 to 1, once), `monitorsChanged`, `pendingSize`,
// `covers` and `unseen`, and waits for the done event; it sets `displayName` before the render
// thread starts. Whatever watches the power source writes `capMicroseconds`. The render thread
// owns everything else and signals the event when its teardown is complete.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

class SoundManager;
struct DoneEvent;        // the platform's auto-reset event (SaverPlatform.h)
struct GlContextBackend; // the window system's drawing surface and rendering context (GlContext.h)

// A window beside the frame's own that shows the frame's picture, fitted into its size: on Linux,
// full screen on several monitors, one per monitor that the frame's own window does not cover.
struct CoverWindow {
    uint64_t window;  // an X window, or a Wayland surface
    int32_t width;    // in pixels of its buffer
    int32_t height;
    int32_t scale = 1; // a Wayland surface's buffer scale
    // A Wayland surface at a fractional scale: the size, in the output's logical pixels, that its
    // viewport shows the buffer at; 0 where the buffer scale applies.
    int32_t logicalWidth = 0;
    int32_t logicalHeight = 0;
};

struct FrameState {
    void* window = nullptr;          // the window rendered into, as the host hands it to the thread
    GlContextBackend* gl = nullptr;  // its drawing surface and OpenGL context, released at teardown
    SoundManager* soundManager = nullptr;
    DoneEvent* doneEvent = nullptr;  // signalled once, when the render thread is done
    std::atomic<int32_t> stopFlag{0}; // set by the window thread when the window is destroyed
    std::atomic<int32_t> monitorsChanged{0}; // set by the window thread when monitors come or go
    // Called on the render thread when nothing shows the scene any more (`seen` false) and when
    // something shows it again, where the window system tells (Wayland: frame callbacks). Set by
    // the host before the render thread starts; null where nothing is told.
    void (*seenChanged)(FrameState& frame, bool seen) = nullptr;
    // Where the window thread tells (X11: every window covered or unmapped, or the monitors off):
    // nothing shows the scene, so the render thread draws nothing and waits on `seenWake`. Under
    // `seenLock`, as is the stop flag's setting (StopFrames), so that no wake-up is missed.
    std::mutex seenLock;
    std::condition_variable seenWake;
    bool unseen = false;
    // The shortest time, in microseconds, from one frame's start to the next while the machine
    // runs on battery; 0 for no cap. Written by whatever watches the power source, on any thread,
    // and read before each frame.
    std::atomic<uint32_t> capMicroseconds{0};
    // The window system paces the frames (the Wayland client's frame callbacks): the render
    // thread leaves the cap to the drawing surface. Set before the render thread starts.
    bool pacedBySurface = false;
    // Render thread only: the drawing surface's last wait for a frame went on while nothing showed
    // the scene (Wayland, where that wait is the pause), so the scene goes on from before it.
    bool pausedInWait = false;
    // The stored MultiMonitor (Windows): what a full-screen window over several monitors shows.
    // Set before the render thread starts.
    int32_t multiMonitor = 0;
    // The X display the host is connected to, for the render thread's own connection (X11 only).
    const char* displayName = nullptr;
    // A new size of the window that the drawing area has not taken yet: width in the high half,
    // height in the low; 0 when none (see OfferWindowSize).
    std::atomic<uint64_t> pendingSize{0};
    // The primary monitor's size (X11 only), packed as `pendingSize` is; 0 for the whole screen's.
    // Written by the window thread before the render thread starts and when monitors change.
    std::atomic<uint64_t> primarySize{0};
    // The cover windows of now (X11 only): replaced by the window thread under `coversLock`, which
    // then sets `monitorsChanged`; the render thread takes a copy when it sees that.
    std::mutex coversLock;
    std::vector<CoverWindow> covers;
    // The number of the cover list (Wayland only, under `coversLock`), and the number of the last
    // list the render thread took: a surface left out of a list may be destroyed once it is taken.
    uint32_t coversGeneration = 0;
    std::atomic<uint32_t> coversTaken{0};
};

// The window thread's side: whether anything shows the scene now.
inline void OfferSceneSeen(FrameState& frame, bool seen)
{
    {
        std::lock_guard<std::mutex> lock(frame.seenLock);
        frame.unseen = !seen;
    }
    frame.seenWake.notify_all();
}

// The window thread's side: no more frames, also from a render thread that waits while unseen.
inline void StopFrames(FrameState& frame)
{
    {
        std::lock_guard<std::mutex> lock(frame.seenLock);
        if (frame.stopFlag == 0)
            frame.stopFlag = 1;
    }
    frame.seenWake.notify_all();
}

// A size in one word, so that the two threads never see a width without its height: width in the
// high half, height in the low. Sizes above 0 never pack to 0.
inline uint64_t PackSize(int32_t width, int32_t height)
{
    return (static_cast<uint64_t>(static_cast<uint32_t>(width)) << 32) | static_cast<uint32_t>(height);
}

// False for 0, which stands for none.
inline bool UnpackSize(uint64_t size, int32_t& width, int32_t& height)
{
    if (size == 0)
        return false;
    width = static_cast<int32_t>(size >> 32);
    height = static_cast<int32_t>(size & 0xFFFFFFFFu);
    return true;
}

// The window thread's side: the window is now `width` x `height` pixels (both above 0).
inline void OfferWindowSize(FrameState& frame, int32_t width, int32_t height)
{
    frame.pendingSize = PackSize(width, height);
}

// The render thread's side: the size offered since the last call, if any.
inline bool TakeWindowSize(FrameState& frame, int32_t& width, int32_t& height)
{
    return UnpackSize(frame.pendingSize.exchange(0), width, height);
}

// Milliseconds from the 32-bit tick: `elapsed` is the time between the last two frames.
struct FrameClock {
    uint32_t previousTick;
    int32_t elapsed;
};
