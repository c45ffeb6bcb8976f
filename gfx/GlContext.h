#pragma once
// The window-system side of the OpenGL context: WGL on Windows, GLX on Linux. Everything runs on
// the render thread, which keeps the context current from creation to deletion.

#include <cstdint>

struct FrameState;

// Takes the frame's window, gets its drawing surface (stored in the frame), asks for a double-
// buffered RGBA format with depth and creates the rendering context (stored in the frame).
// False when no context could be created.
bool GlCreateContext(FrameState& frame);
// Makes the frame's context current on this thread.
void GlMakeCurrent(FrameState& frame);
// Whether the swap interval can be set (WGL_EXT_swap_control, or its GLX counterparts).
bool GlHasSwapControl();
// Sets the swap interval: 0 does not wait for the vertical blank, 1 waits for one.
void GlSetSwapInterval(int32_t interval);
void GlSwapBuffers(FrameState& frame);
// Teardown steps; each accepts the frame without the resource.
void GlDeleteContext(FrameState& frame);
void GlReleaseDeviceContext(FrameState& frame);
