#pragma once
// What the Linux host offers the render thread's platform side (SaverPlatformPosix.cpp and
// GlContextGlx.cpp). Xlib types stay out: the window is an X id, the display a name.

#include <cstdint>

// The X display the host is connected to, for the render thread's own connection.
const char* HostDisplayName();
// Called on the render thread after a failed start: hands the kept user message to the host's
// thread and returns once the host has shown it and closed the run (the window side of it).
void HostFailedStart();
// Microseconds of rest after each frame (-delay). Render thread.
uint32_t HostFrameDelay();
// The window's size when it has changed since the last call (the host watches it); false when
// it has not. Render thread only.
bool HostTakeNewWindowSize(int32_t& width, int32_t& height);
