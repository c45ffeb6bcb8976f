#pragma once
// The window's picture on another monitor's surface: the read buffer's picture copied into the
// draw buffer, scaled to fit with its proportions kept, black around it. The cover surfaces of the
// Linux full-screen runs (X11 and Wayland) get the picture this way.
//
// Render thread only, with the rendering context current, the cover as the draw surface and the
// window as the read surface.

#include "gfx/MonitorLayout.h"
#include "gfx/SizedFramebuffer.h"

#include <cstdint>
#include <memory>

class FittedCopy {
public:
    // Clears the draw buffer and copies `picture` of the read buffer into the largest area of its
    // proportions centred in `width` x `height`. A framebuffer blit does it; where the window's
    // buffers are multisampled, which a scaling blit cannot read or write, the picture is first
    // resolved at its size into an offscreen buffer and drawn from there. Without framebuffer
    // objects (OpenGL 2.x) the pixels are copied and zoomed plainly. False, with nothing drawn,
    // where neither way is offered.
    bool Draw(const PixelRect& picture, int32_t width, int32_t height);

private:
    int sampled_ = -1; // whether the window's buffers are multisampled; -1 until asked
    // The resolved picture, made on the first copy from a multisampled window, in the window's
    // own format: a resolving blit may not change it.
    std::unique_ptr<SizedFramebuffer> resolved_;
};
