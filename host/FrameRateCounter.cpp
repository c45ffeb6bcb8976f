#include "host/FrameRateCounter.h"

#include <cstdio>

const char* FrameRateCounter::Measure(uint32_t now)
{
    if (lastTick_ == 0xFFFFFFFFu)
        lastTick_ = now;
    // Unsigned difference: a wrap of the 32-bit tick still gives the true elapsed time.
    const double dt = static_cast<double>(static_cast<uint32_t>(now - lastTick_));
    lastTick_ = now;
    if (samples_ < 1000.0)
        samples_ += 1.0;
    meanMilliseconds_ += (dt - meanMilliseconds_) / samples_;
    if (meanMilliseconds_ == 0.0)
        std::snprintf(text_, sizeof text_, "---");
    else
        std::snprintf(text_, sizeof text_, "FPS : %g", 1000.0 / meanMilliseconds_);
    return text_;
}

void FrameRateCounter::Resumed(uint32_t now)
{
    if (lastTick_ != 0xFFFFFFFFu)
        lastTick_ = now;
}

double FrameRateCounter::AverageRate() const
{
    return meanMilliseconds_ > 0.0 ? 1000.0 / meanMilliseconds_ : -1.0;
}
