#pragma once
// The few platform services that the render thread's shared logic uses.

#include <cstdint>

// The 32-bit millisecond tick (wraps about every 49.7 days).
uint32_t TickCount();
// Signals the frame's done event.
void SignalRenderThreadDone();
// The size of the screen that holds the drawing target, in pixels.
void ScreenSize(void* target, int32_t& width, int32_t& height);
// Asks the window thread, synchronously, to show the kept user message and close the window.
void SendFailedStart(void* window);
