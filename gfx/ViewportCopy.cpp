#include "gfx/ViewportCopy.h"

#include "gfx/DrawingState.h"
#include "gfx/FixedCamera.h"

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

namespace {
// Whether the buffer the copy was read from reaches the viewport's far corner. A window system may
// give a window's buffer its new size only at a later frame (a Wayland compositor's new scale can
// come after the first buffers): a copy taken from the old buffer would keep the old picture in one
// corner and black elsewhere for as long as the tag holds. Mesa leaves a pixel outside the buffer
// unwritten, with the zero alpha put there first; one inside reads as opaque, as the horizon and
// an opaque window leave it.
bool ReadBufferReaches(const ViewportCopyTag& tag)
{
    uint8_t corner[4] = {0, 0, 0, 0};
    glReadPixels(tag.viewport[0] + tag.viewport[2] - 1, tag.viewport[1] + tag.viewport[3] - 1, 1, 1, GL_RGBA,
                 GL_UNSIGNED_BYTE, corner);
    return corner[3] != 0;
}
} // namespace

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
    DrainGlErrors();
    const bool copied = Blits() ? CopyIntoFramebuffer(tag) : CopyIntoTexture(tag);
    if (!copied || glGetError() != GL_NO_ERROR) {
        // Out of memory, or a buffer the driver cannot copy: the picture is drawn every frame,
        // until what it depends on changes.
        width_ = height_ = 0;
        refused_ = true;
        refusedTag_ = tag;
        return;
    }
    refused_ = false;
    if (!ReadBufferReaches(tag)) {
        width_ = height_ = 0;
        return;
    }
    width_ = width;
    height_ = height;
    tag_ = tag;
    held_ = true;
}

bool ViewportCopy::CopyIntoFramebuffer(const ViewportCopyTag& tag)
{
    const int32_t width = tag.viewport[2], height = tag.viewport[3];
    if (!buffer_.Fit(width, height))
        return false;
    // Read from the buffer the picture is in (the record's), drawn into the copy's.
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, buffer_.framebuffer());
    glBlitFramebuffer(tag.viewport[0], tag.viewport[1], tag.viewport[0] + width, tag.viewport[1] + height, 0, 0, width,
                      height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, Drawing().framebuffer);
    return true;
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
    const PixelRect to = {tag_.viewport[0], tag_.viewport[1], width_, height_};
    if (!Blits()) {
        DrawTexture(texture_, to);
        return;
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, buffer_.framebuffer());
    glBlitFramebuffer(0, 0, width_, height_, to.x, to.y, to.x + to.width, to.y + to.height, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, Drawing().framebuffer);
}
