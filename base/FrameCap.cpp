#include "base/FrameCap.h"

void FrameCap::Started(uint64_t now, uint32_t period)
{
    if (period == 0) {
        due_ = 0;
        return;
    }
    if (due_ == 0 || now >= due_ + period)
        due_ = now + period;
    else
        due_ += period;
}
