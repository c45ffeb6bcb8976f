#include "gfx/FittedCopy.h"

#include "gfx/DrawingState.h"
#include "gfx/Framebuffers.h"

#include <new>

namespace {
// A driver without framebuffer objects (OpenGL 2.x): the picture goes through the pixel path,
// zoomed, with nothing of the scene's state applied to its fragments.
void CopyPlainly(const PixelRect& picture, const PixelRect& to)
{
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_PIXEL_MODE_BIT | GL_CURRENT_BIT |
                 GL_STENCIL_BUFFER_BIT);
    glUseProgram(0);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_FOG);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_TEXTURE_2D);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_FALSE);
    glWindowPos2i(to.x, to.y);
    glPixelZoom(static_cast<GLfloat>(to.width) / static_cast<GLfloat>(picture.width),
                static_cast<GLfloat>(to.height) / static_cast<GLfloat>(picture.height));
    glCopyPixels(picture.x, picture.y, picture.width, picture.height, GL_COLOR);
    glPopAttrib();
    glUseProgram(Drawing().program);
}
} // namespace

bool FittedCopy::Draw(const PixelRect& picture, int32_t width, int32_t height)
{
    if (picture.width <= 0 || picture.height <= 0)
        return false;
    if (!FramebuffersOffered()) {
        if (glWindowPos2i == nullptr)
            return false;
        glClear(GL_COLOR_BUFFER_BIT);
        CopyPlainly(picture, FitPicture(picture, {0, 0, width, height}));
        return true;
    }
    // Covers are made with the window's own format, so one answer holds for both.
    if (sampled_ < 0)
        sampled_ = WindowIsMultisampled() ? 1 : 0;
    // The clear colour is never set: black bars where the monitor's shape differs.
    glClear(GL_COLOR_BUFFER_BIT);
    const PixelRect to = FitPicture(picture, {0, 0, width, height});
    if (sampled_ == 0) {
        glBlitFramebuffer(picture.x, picture.y, picture.x + picture.width, picture.y + picture.height, to.x, to.y,
                          to.x + to.width, to.y + to.height, GL_COLOR_BUFFER_BIT, GL_LINEAR);
        return true;
    }
    if (!resolved_) {
        GLint alphaBits = 0;
        glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
        resolved_.reset(new (std::nothrow) SizedFramebuffer(GL_LINEAR, false, alphaBits > 0 ? GL_RGBA8 : GL_RGB8));
    }
    if (!resolved_ || !resolved_->Fit(picture.width, picture.height))
        return false;
    // Same size both ways: the samples are averaged into the offscreen picture.
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolved_->framebuffer());
    glBlitFramebuffer(picture.x, picture.y, picture.x + picture.width, picture.y + picture.height, 0, 0, picture.width,
                      picture.height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, Drawing().framebuffer);
    DrawTexture(resolved_->texture(), to);
    return true;
}
