#include "gfx/ScaledDrawing.h"

#include "base/RunLog.h"
#include "gfx/DrawingState.h"

#include <cmath>

int32_t ScaledSide(int32_t side, double scale)
{
    const long scaled = std::lround(side * scale);
    return scaled < 1 ? 1 : static_cast<int32_t>(scaled);
}

ScaledDrawing::~ScaledDrawing()
{
    if (framebuffer_ == 0)
        return;
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteRenderbuffers(1, &colour_);
    glDeleteRenderbuffers(1, &depth_);
}

void ScaledDrawing::Refuse(const char* why)
{
    refused_ = true;
    Log().Record(kLogError, why);
}

// Buffers of the new size, made when the area's size changes: at start-up, or after a change of
// window or monitors. Only then is the driver asked whether they are complete.
bool ScaledDrawing::Fit(int32_t width, int32_t height)
{
    if (width == width_ && height == height_)
        return true;
    if (framebuffer_ == 0) {
        glGenFramebuffers(1, &framebuffer_);
        glGenRenderbuffers(1, &colour_);
        glGenRenderbuffers(1, &depth_);
    }
    // Errors left by earlier calls are not these buffers'.
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    BindFramebuffer(framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
    const bool complete =
        glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE && glGetError() == GL_NO_ERROR;
    BindFramebuffer(0);
    if (!complete) {
        width_ = height_ = 0;
        return false;
    }
    width_ = width;
    height_ = height;
    return true;
}

void ScaledDrawing::Begin()
{
    if (scale_ >= 1.0 || refused_)
        return;
    if (!(GLEW_VERSION_3_0 || GLEW_ARB_framebuffer_object)) {
        Refuse("The driver has no framebuffer objects: the scene is drawn at full resolution");
        return;
    }
    const GLint* viewport = Drawing().viewport;
    for (int i = 0; i < 4; ++i)
        area_[i] = viewport[i];
    if (area_[2] <= 0 || area_[3] <= 0)
        return;
    if (!Fit(ScaledSide(area_[2], scale_), ScaledSide(area_[3], scale_))) {
        Refuse("The scaled picture's buffer could not be made: the scene is drawn at full resolution");
        return;
    }
    BindFramebuffer(framebuffer_);
    SetViewport(0, 0, width_, height_);
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
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glBlitFramebuffer(0, 0, width_, height_, area_[0], area_[1], area_[0] + area_[2], area_[1] + area_[3],
                      GL_COLOR_BUFFER_BIT, GL_LINEAR);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    SetViewport(area_[0], area_[1], area_[2], area_[3]);
}
