#pragma once
// The render thread, written once for both platforms against SaverPlatform.h and GlContext.h.

#include "base/SaverFrame.h"
#include "sound/SoundManager.h"

#include <cstdint>

// What a host hands its render thread for one run. The host fills it before the thread starts
// and keeps it for as long as the thread runs (which reads it after its done event too).
struct RenderRun {
    FrameState frame;               // the window, and what the two threads share
    SoundChoice sound;              // the host's choice, for video start-up
    uint32_t restMicroseconds = 0;  // rest after each frame (the Linux port's -delay); 0 for none
    double renderScale = 0.0;       // 0.25 to 1 (the Linux port's -scale); 0 for the stored RenderScale
};

// The render thread's whole life: banner, start-up, frames until the stop flag is set, teardown,
// the done signal, and on a failed start the request to show the kept message. Returns 0.
uint32_t RenderThreadMain(RenderRun& run);
