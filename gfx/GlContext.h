#pragma once
// The window-system side of the OpenGL context: WGL on Windows, GLX on Linux's X11, EGL on
// Wayland. Everything runs on
// the render thread, which keeps the context current from creation to deletion. The frame's
// `gl` record is the backend's own (GlContextBackend), made by GlCreateContext and freed by
// GlReleaseDeviceContext.

#include <cstdint>

struct FrameState;

// Takes the frame's window, gets its drawing surface, asks for a double-buffered RGBA format with
// depth and creates the rendering context, keeping each in the frame (on X11 over a connection of
// its own to the frame's `displayName`). False when no context could be created.
bool GlCreateContext(FrameState& frame);
// Makes the frame's context current on this thread.
void GlMakeCurrent(FrameState& frame);
// Loads the OpenGL entry points of the current context through GLEW; false when it could not.
bool GlLoadFunctions();
// Whether the swap interval can be set (WGL_EXT_swap_control, or its GLX counterparts).
bool GlHasSwapControl();
// Sets the swap interval of the frame's window: 0 does not wait for the vertical blank, 1 waits
// for one.
void GlSetSwapInterval(FrameState& frame, int32_t interval);
// Shows the frame drawn; nothing else.
void GlSwapBuffers(FrameState& frame);
// Before each frame's scene: a full-screen window that spans several monitors (the Windows saver
// on the virtual screen) has its scene drawn into the primary monitor's area, with that monitor's
// shape, and the monitors are read again after the frame's `monitorsChanged` is set. A window on
// one monitor, a preview and the Linux port's windows are one drawing area, which takes the
// window's new size when the host has offered one (the frame's `pendingSize`).
void GlFitDrawingArea(FrameState& frame);
// After the scene, before the frame-rate overlay: the primary monitor's picture copied to every
// other monitor the window spans, scaled to fit.
void GlCopyToOtherMonitors(FrameState& frame);
// Whether the drawing area is the whole of the window's drawing surface (false for the Windows
// saver's window over several monitors, unless one picture spans them all).
bool GlDrawingAreaFillsWindow(const FrameState& frame);
// The viewport into whose top-left corner the frame-rate overlay goes: the drawing area's, or the
// primary monitor's part of the window when one picture is drawn across several monitors.
void GlOverlayViewport(const FrameState& frame, int32_t viewport[4]);
// The size of the screen that shows the frame's window, in pixels.
void GlScreenSize(const FrameState& frame, int32_t& width, int32_t& height);
// Teardown steps, in this order; each accepts a frame without the resource.
void GlDeleteContext(FrameState& frame);
void GlReleaseDeviceContext(FrameState& frame);
