#pragma once
// Framebuffer objects, asked for in one place, and the one way of putting an offscreen picture
// into any framebuffer.
//
// Render thread only, with the rendering context current.

#include "gfx/FramebufferSupport.h"
#include "gfx/MonitorLayout.h"
#include "gfx/OpenGL.h"

#include <cstdint>

// Takes the errors that earlier calls left, so that the next check sees only its own; at most 16,
// since a driver in a broken state may report one forever.
void DrainGlErrors();

// Whether the window's buffers (framebuffer 0 bound for drawing) are multisampled. A framebuffer
// blit into or out of them cannot scale; a textured quad can. Asks the driver.
bool WindowIsMultisampled();

// Draws `texture` over `to` (in the draw framebuffer's pixels) through the fixed-function
// pipeline, unblended and untested, with the texture's own filtering, and leaves the drawing state
// as the record (DrawingState.h) has it. The current colour is undefined afterwards.
void DrawTexture(GLuint texture, const PixelRect& to);
