#include "gfx/ViewportCopy.h"

#include "gfx/DrawingState.h"
#include "gfx/FixedCamera.h"
#include "gfx/OpenGL.h"

#include <algorithm>
#include <cstring>

bool ViewportCopyTag::operator==(const ViewportCopyTag& other) const
{
    return std::equal(viewport, viewport + 4, other.viewport) && aspect == other.aspect &&
           std::equal(state, state + 8, other.state);
}

bool RendererWritesEveryBlend()
{
    static const bool writes = [] {
        const GLubyte* renderer = glGetString(GL_RENDERER);
        return renderer == nullptr || std::strstr(reinterpret_cast<const char*>(renderer), "softpipe") == nullptr;
    }();
    return writes;
}

ViewportCopyTag CurrentViewportTag()
{
    ViewportCopyTag tag = {};
    std::copy(Drawing().viewport, Drawing().viewport + 4, tag.viewport);
    tag.aspect = CurrentCameraAspect();
    return tag;
}

void ViewportCopy::Take(const ViewportCopyTag& tag)
{
    held_ = false;
    // The same refusal would come again, after a new buffer and a round trip to the driver.
    if (refused_ && tag == refusedTag_)
        return;
    const int32_t width = tag.viewport[2], height = tag.viewport[3];
    GLint sampleBuffers = 0, largest = 0, readBuffer = GL_NONE;
    glGetIntegerv(GL_SAMPLE_BUFFERS, &sampleBuffers);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    // A multisampled buffer is resolved by the copy, and its edges would come back averaged. With
    // no buffer to read, a blit copies nothing and reports no error.
    if (sampleBuffers != 0 || readBuffer == GL_NONE || width <= 0 || height <= 0 || width > largest ||
        height > largest)
        return;
    // Errors left by earlier calls are not this copy's.
    while (glGetError() != GL_NO_ERROR) {
    }
    if (framebuffer_ == 0 && texture_ == 0 && (GLEW_VERSION_3_0 || GLEW_ARB_framebuffer_object)) {
        glGenFramebuffers(1, &framebuffer_);
        glGenRenderbuffers(1, &renderbuffer_);
    }
    const bool copied = framebuffer_ != 0 ? CopyIntoRenderbuffer(tag) : CopyIntoTexture(tag);
    if (!copied || glGetError() != GL_NO_ERROR) {
        // Out of memory, or a buffer the driver cannot copy: the picture is drawn every frame,
        // until what it depends on changes.
        width_ = height_ = 0;
        refused_ = true;
        refusedTag_ = tag;
        return;
    }
    refused_ = false;
    width_ = width;
    height_ = height;
    tag_ = tag;
    held_ = true;
}

bool ViewportCopy::CopyIntoRenderbuffer(const ViewportCopyTag& tag)
{
    const int32_t width = tag.viewport[2], height = tag.viewport[3];
    GLint drawn = 0, read = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawn);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    if (width != width_ || height != height_) {
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer_);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffer_);
    }
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(read));
    if (complete)
        glBlitFramebuffer(tag.viewport[0], tag.viewport[1], tag.viewport[0] + width, tag.viewport[1] + height, 0, 0,
                          width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(drawn));
    return complete;
}

bool ViewportCopy::CopyIntoTexture(const ViewportCopyTag& tag)
{
    const int32_t width = tag.viewport[2], height = tag.viewport[3];
    if (texture_ == 0)
        glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    if (width != width_ || height != height_) {
        // Nearest texels at the pixel centres give every pixel back unchanged.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tag.viewport[0], tag.viewport[1], width, height, 0);
    } else {
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, tag.viewport[0], tag.viewport[1], width, height);
    }
    return true;
}

void ViewportCopy::Put() const
{
    if (framebuffer_ != 0) {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
        glBlitFramebuffer(0, 0, width_, height_, tag_.viewport[0], tag_.viewport[1], tag_.viewport[0] + width_,
                          tag_.viewport[1] + height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, Drawing().framebuffer);
        return;
    }
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_TRANSFORM_BIT);
    glUseProgram(0);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_FOG);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    // The viewport's corners: each pixel centre samples its own texel.
    glBegin(GL_QUADS);
    glTexCoord2d(0.0, 0.0);
    glVertex2d(-1.0, -1.0);
    glTexCoord2d(1.0, 0.0);
    glVertex2d(1.0, -1.0);
    glTexCoord2d(1.0, 1.0);
    glVertex2d(1.0, 1.0);
    glTexCoord2d(0.0, 1.0);
    glVertex2d(-1.0, 1.0);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    // The enables, bindings, texture environment, blending, depth state and matrix mode.
    glPopAttrib();
    glUseProgram(Drawing().program);
}
