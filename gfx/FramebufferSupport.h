#pragma once
// Whether the driver offers framebuffer objects, asked in one place. Kept apart from their use
// (Framebuffers.h), so that the drawing-state record, which the framebuffer code restores, can ask
// too.
//
// Render thread only, with the rendering context current.

#include "gfx/OpenGL.h"

// Whether framebuffer objects and the blit between framebuffers can be used: OpenGL 3.0,
// ARB_framebuffer_object, or the pair EXT_framebuffer_object and EXT_framebuffer_blit, whose entry
// points then serve under the core names (their constants are the same, and so is what the saver
// does with them). No round trip to the driver.
bool FramebuffersOffered();
