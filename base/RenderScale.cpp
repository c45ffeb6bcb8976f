#include "base/RenderScale.h"

// Read in millionths, so the bounds are exact.
bool ParseRenderScale(const char* text, double& scale)
{
    uint32_t whole = 0;
    bool digits = false;
    for (; *text >= '0' && *text <= '9'; ++text) {
        whole = whole * 10 + static_cast<uint32_t>(*text - '0');
        if (whole > 1)
            return false;
        digits = true;
    }
    uint32_t millionths = whole * 1000000u;
    if (*text == '.') {
        ++text;
        uint32_t step = 100000;
        for (; *text >= '0' && *text <= '9'; ++text) {
            if (step == 0)
                return false;
            millionths += static_cast<uint32_t>(*text - '0') * step;
            step /= 10;
            digits = true;
        }
    }
    if (!digits || *text != '\0' || millionths < 250000u || millionths > 1000000u)
        return false;
    scale = millionths / 1e6;
    return true;
}

bool RenderScaleFromPercent(int32_t percent, double& scale)
{
    if (percent < kRenderScaleLeastPercent || percent > kRenderScaleFullPercent)
        return false;
    scale = percent / 100.0;
    return true;
}
