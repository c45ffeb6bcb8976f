#pragma once
// The application frame: what the window thread and the render thread share for one run, and the
// frame clock. Written once for both platforms.
//
// Threads: the window thread writes `stopFlag` (0 to 1, once) and waits for the done event; the
// render thread owns everything else and signals the event when its teardown is complete.

#include <atomic>
#include <cstdint>

class SoundManager;
struct DoneEvent;        // the platform's auto-reset event (SaverPlatform.h)
struct GlContextBackend; // the window system's drawing surface and rendering context (GlContext.h)

struct FrameState {
    void* window = nullptr;          // the window rendered into, as the host hands it to the thread
    GlContextBackend* gl = nullptr;  // its drawing surface and OpenGL context, released at teardown
    SoundManager* soundManager = nullptr;
    DoneEvent* doneEvent = nullptr;  // signalled once, when the render thread is done
    std::atomic<int32_t> stopFlag{0}; // set by the window thread when the window is destroyed
    std::atomic<int32_t> monitorsChanged{0}; // set by the window thread when monitors come or go
};

extern FrameState g_frame;

// Milliseconds from the 32-bit tick: `elapsed` is the time between the last two frames.
struct FrameClock {
    uint32_t previousTick;
    int32_t elapsed;
};
