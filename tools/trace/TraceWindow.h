#pragma once
// What the replay program needs of its platform: a window to draw the scene in, on the main
// thread, which is also the thread that renders. X11 (TraceWindowX11.cpp) or Win32
// (TraceWindowWin32.cpp).

#include <cstdint>

// Before anything else: stdout takes the lines byte for byte (no CR added on Windows).
void PrepareTraceProcess();
// A shown window of the given client size for the rendering context, in the form the context
// backend takes; null, with the reason on stderr, when there is none.
void* CreateTraceWindow(int32_t width, int32_t height);
// The X display of the window, for the context backend's own connection; null on Windows.
const char* TraceDisplayName();
// Hands the window system what it has queued for the window; between frames.
void ServiceTraceWindow();
// After the rendering context is gone.
void DestroyTraceWindow(void* window);
