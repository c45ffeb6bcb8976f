#pragma once
// A copy of the pixels that the viewport of the back buffer holds at one moment, put back later
// pixel for pixel. A picture that is drawn the same way every frame can be drawn once, taken, and
// put back in the later frames: on a software rasteriser putting back unfiltered texels costs a
// fraction of filtering a large texture again.
//
// The copy is tagged with what the picture depended on (`ViewportCopyTag`): it is put back only
// under the same tag, so a change of viewport, camera or drawing state makes it be drawn and taken
// again. Nothing is kept where a copy could not give back the same pixels: a multisampled buffer, a
// context with no buffer to read, a viewport larger than the driver's largest texture, a copy
// that the driver refused, or one read from a buffer smaller than the viewport (a window's buffer
// that has not yet taken its new size): that one is tried again at the next frame.
//
// Render thread only, with the rendering context current. The texture goes with the context.

#include "gfx/Framebuffers.h"
#include "gfx/SizedFramebuffer.h"

#include <cstdint>

struct ViewportCopyTag {
    int32_t viewport[4];  // x, y, width, height
    double aspect;        // the camera's
    int32_t state[8];     // drawing state that the picture depends on, chosen by the caller

    bool operator==(const ViewportCopyTag& other) const;
};

// False for a renderer that keeps the colours of a region it has not yet written back finer than
// the buffer's 8-bit steps (Mesa's softpipe holds them as floating point): there the next blends
// add to the unrounded colour, so 8-bit pixels put back, or the same blends in another order, can
// end a step apart. Asked of the current context once per process.
bool RendererWritesEveryBlend();

// The recorded viewport (DrawingState.h) and the camera aspect, with the caller's state filled in
// afterwards.
ViewportCopyTag CurrentViewportTag();

class ViewportCopy {
public:
    ViewportCopy() = default;
    ViewportCopy(const ViewportCopy&) = delete;
    ViewportCopy& operator=(const ViewportCopy&) = delete;

    // True when a copy taken under `tag` is held.
    bool Holds(const ViewportCopyTag& tag) const { return held_ && tag == tag_; }
    // Takes the viewport's pixels of the back buffer under `tag`; drops the copy when that is not
    // possible. A copy the driver refused under a tag is not tried again under that tag. Leaves the
    // texture binding of GL_TEXTURE_2D to the caller (it may be changed).
    void Take(const ViewportCopyTag& tag);
    // Puts the held copy back over the viewport, unblended and untested, and leaves the drawing
    // state as the record (DrawingState.h) has it. The current colour is undefined afterwards.
    void Put() const;

private:
    // With framebuffer objects the copy goes both ways by blits, which a software rasteriser does
    // as plain memory copies; without, it is a texture drawn back (made by the first copy).
    SizedFramebuffer buffer_{GL_NEAREST, false};
    uint32_t texture_ = 0;
    bool Blits() const { return texture_ == 0 && FramebuffersOffered(); }
    int32_t width_ = 0;
    int32_t height_ = 0;
    bool held_ = false;
    ViewportCopyTag tag_ = {};
    bool refused_ = false; // the driver refused the copy under `refusedTag_`
    ViewportCopyTag refusedTag_ = {};

    // The two ways of taking the copy; false when the way cannot be used at all.
    bool CopyIntoFramebuffer(const ViewportCopyTag& tag);
    bool CopyIntoTexture(const ViewportCopyTag& tag);
};
