#pragma once
// The offscreen pictures that the saver draws or keeps (the render scale's, a copy of the horizon,
// the resolve of a multisampled window): one framebuffer object each, remade only when its size
// changes.
//
// Render thread only, with the rendering context current; the buffers go with the context.

#include "gfx/OpenGL.h"

#include <cstdint>

// An offscreen framebuffer: a colour texture (RGBA8 unless asked otherwise, clamped, with the
// filter asked for) and, when asked, a 24-bit depth renderbuffer.
class SizedFramebuffer {
public:
    SizedFramebuffer(GLint filter, bool depth, GLint colourFormat = GL_RGBA8)
        : filter_(filter), withDepth_(depth), colourFormat_(colourFormat)
    {
    }
    ~SizedFramebuffer();
    SizedFramebuffer(const SizedFramebuffer&) = delete;
    SizedFramebuffer& operator=(const SizedFramebuffer&) = delete;

    // Makes the buffers `width` x `height` unless they already are; only then is the driver asked
    // anything (whether they are complete, and the texture binding to put back). False when they
    // are not complete (the next call tries again). Framebuffer objects must be offered. The draw framebuffer is bound to the
    // record's afterwards; the read framebuffer, renderbuffer and GL_TEXTURE_2D bindings are left
    // as they were.
    bool Fit(int32_t width, int32_t height);

    GLuint framebuffer() const { return framebuffer_; }
    GLuint texture() const { return texture_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

private:
    GLint filter_;
    bool withDepth_;
    GLint colourFormat_;
    GLuint framebuffer_ = 0, texture_ = 0, depth_ = 0;
    int32_t width_ = 0, height_ = 0;
};
