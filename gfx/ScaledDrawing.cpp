#include "gfx/ScaledDrawing.h"

#include "base/RunLog.h"
#include "gfx/DrawingState.h"

#include <cmath>

int32_t ScaledSide(int32_t side, double scale)
{
    const long scaled = std::lround(side * scale);
    return scaled < 1 ? 1 : static_cast<int32_t>(scaled);
}

void ScaledDrawing::Refuse(const char* why)
{
    refused_ = true;
    Log().Record(kLogError, why);
}

void ScaledDrawing::Begin()
{
    if (scale_ >= 1.0 || refused_)
        return;
    if (!FramebuffersOffered()) {
        Refuse("The driver has no framebuffer objects: the scene is drawn at full resolution");
        return;
    }
    const GLint* viewport = Drawing().viewport;
    for (int i = 0; i < 4; ++i)
        area_[i] = viewport[i];
    if (area_[2] <= 0 || area_[3] <= 0)
        return;
    const int32_t width = ScaledSide(area_[2], scale_), height = ScaledSide(area_[3], scale_);
    // A scale just under 1 may round to the area's own size: then the offscreen picture would be
    // the same pixels at the cost of a copy.
    if (width == area_[2] && height == area_[3])
        return;
    // Buffers of the new size are made when the area's size changes: at start-up, or after a
    // change of window or monitors.
    if (!buffer_.Fit(width, height)) {
        Refuse("The scaled picture's buffer could not be made: the scene is drawn at full resolution");
        return;
    }
    if (sampled_ < 0)
        sampled_ = WindowIsMultisampled() ? 1 : 0;
    BindFramebuffer(buffer_.framebuffer());
    SetViewport(0, 0, width, height);
    active_ = true;
}

void ScaledDrawing::End(bool clearWindow)
{
    if (!active_)
        return;
    active_ = false;
    BindFramebuffer(0);
    // The scene's own clear reached only the offscreen buffer. Where the window is more than the
    // area, its buffer is cleared here, as at full resolution, so that what lies outside the area
    // (the other monitors, the bars around their copies) is black rather than what the last swap
    // left. Elsewhere the picture covers it all, and a clear would cost a pass over every pixel.
    if (clearWindow)
        glClear(GL_COLOR_BUFFER_BIT);
    const PixelRect area = {area_[0], area_[1], area_[2], area_[3]};
    if (sampled_ == 1) {
        DrawTexture(buffer_.texture(), area);
    } else {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, buffer_.framebuffer());
        glBlitFramebuffer(0, 0, buffer_.width(), buffer_.height(), area.x, area.y, area.x + area.width,
                          area.y + area.height, GL_COLOR_BUFFER_BIT, GL_LINEAR);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    }
    SetViewport(area_[0], area_[1], area_[2], area_[3]);
}
