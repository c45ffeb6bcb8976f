#include "gfx/SurfaceSize.h"

#include <algorithm>
#include <cstdint>

namespace {
constexpr int64_t kScaleDenominator = 120;

int32_t TimesPreferred(int32_t logical, int32_t preferred)
{
    return static_cast<int32_t>((static_cast<int64_t>(logical) * preferred + kScaleDenominator / 2) /
                                kScaleDenominator);
}
} // namespace

SurfaceSize SizeOnOutput(const OutputShape& shape, bool viewports)
{
    const bool fractional = viewports && shape.preferredScale > 0;
    const int32_t scale = std::max(shape.scale, 1);
    int32_t width = shape.width;
    int32_t height = shape.height;
    if (width <= 0 || height <= 0) {
        const bool turned = (shape.transform & 1) != 0;
        const int32_t modeWidth = turned ? shape.modeHeight : shape.modeWidth;
        const int32_t modeHeight = turned ? shape.modeWidth : shape.modeHeight;
        if (fractional) {
            width = static_cast<int32_t>(static_cast<int64_t>(modeWidth) * kScaleDenominator / shape.preferredScale);
            height = static_cast<int32_t>(static_cast<int64_t>(modeHeight) * kScaleDenominator / shape.preferredScale);
        } else {
            width = modeWidth / scale;
            height = modeHeight / scale;
        }
    }
    SurfaceSize size;
    if (width <= 0 || height <= 0)
        return size;
    if (fractional) {
        size.width = TimesPreferred(width, shape.preferredScale);
        size.height = TimesPreferred(height, shape.preferredScale);
        size.logicalWidth = width;
        size.logicalHeight = height;
    } else {
        size.width = width * scale;
        size.height = height * scale;
        size.scale = scale;
    }
    return size;
}
