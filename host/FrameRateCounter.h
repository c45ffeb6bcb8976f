#pragma once
// The frame-rate overlay's arithmetic: a running mean of frame times (exact for the first 1000
// frames, then an exponential average with weight 1/1000) and the text shown.
//
// Threads: Measure on the render thread only; AverageRate on the window thread once the render
// thread has signalled that it is done.

#include <cstdint>

class FrameRateCounter {
public:
    // Takes the millisecond tick of this frame's overlay and returns the overlay text: "---" while
    // the mean is exactly 0, else "FPS : %g" of 1000 / mean. The first call measures 0 ms.
    const char* Measure(uint32_t now);
    // Frames go on after a pause at `now`: the time paused is no frame's, and the next frame is
    // measured from here.
    void Resumed(uint32_t now);
    // 1000 / mean frame time, or -1 when nothing was measured (the overlay never ran).
    double AverageRate() const;

private:
    uint32_t lastTick_ = 0xFFFFFFFFu; // all bits set: no frame yet
    double meanMilliseconds_ = 0.0;
    double samples_ = 0.0; // capped at 1000
    char text_[32] = "---";
};
