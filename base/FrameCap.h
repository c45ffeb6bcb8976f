#pragma once
// The cap on the frame rate while the machine runs on battery, kept apart from any clock or window
// system so that every case can be tried without one.
//
// Each frame's earliest start is the previous one's earliest start plus the period, not the
// previous frame's actual start: where frames are shown at a display's refresh (62.5 times a
// second, say), a frame that waited for the refresh after its earliest start takes nothing from
// the next, and the frames still average the cap. A run that fell a whole period behind (a stall,
// a slow frame) starts afresh rather than catching up with a burst.

#include <cstdint>

// On battery: frames at most 30 times a second.
constexpr uint32_t kBatteryFrameMicroseconds = 1000000 / 30 + 1;

class FrameCap {
public:
    // When, in microseconds of a monotonic clock, the next frame may start under a cap of
    // `period` microseconds (0: no cap, any time).
    uint64_t Due(uint32_t period) const { return period == 0 ? 0 : due_; }
    // A frame starts `now`.
    void Started(uint64_t now, uint32_t period);

private:
    uint64_t due_ = 0;
};
