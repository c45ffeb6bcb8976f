#pragma once
// The render scale: the scene drawn into an offscreen buffer at a fraction of the drawing area's
// size and drawn over the area with linear filtering, so a slow machine fills a quarter of the
// pixels at 0.5. The camera keeps the area's shape. What comes after the scene (the copies to
// other monitors, the frame-rate overlay) sees the area at full size, as without a scale.
//
// Render thread only, with the rendering context current; the buffers go with the context.

#include "gfx/Framebuffers.h"
#include "gfx/SizedFramebuffer.h"

#include <cstdint>

// The scaled size of one side: at least one pixel.
int32_t ScaledSide(int32_t side, double scale);

class ScaledDrawing {
public:
    // `scale` from 0.25 to 1; at 1, or at a scale that leaves the area's size as it is, nothing is
    // done.
    explicit ScaledDrawing(double scale) : scale_(scale) {}
    ScaledDrawing(const ScaledDrawing&) = delete;
    ScaledDrawing& operator=(const ScaledDrawing&) = delete;

    // Before the scene: the offscreen buffer for the recorded viewport (DrawingState.h) becomes
    // the framebuffer and the viewport. Without framebuffer objects, or when the buffer cannot be
    // made, the scene is drawn at full size, and the run log says so once.
    void Begin();
    // After the scene: the picture scaled up over the area (a framebuffer blit, or a textured quad
    // where the window is multisampled and a blit cannot scale), and the window's buffer and the
    // area's viewport back. With `clearWindow` the rest of the window's buffer is cleared first, as the
    // scene's own clear does at full resolution.
    void End(bool clearWindow);

private:
    double scale_;
    bool active_ = false;  // between a Begin that bound the buffer and its End
    bool refused_ = false; // drawn at full size from now on
    int sampled_ = -1;     // whether the window is multisampled; -1 until asked
    SizedFramebuffer buffer_{GL_LINEAR, true};
    GLint area_[4] = {0, 0, 0, 0};

    void Refuse(const char* why);
};
