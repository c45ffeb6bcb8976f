#pragma once
// The render thread, written once for both platforms against SaverPlatform.h and GlContext.h.

#include <cstdint>

// The render thread's whole life: banner, start-up, frames until the stop flag is set, teardown,
// the done signal, and on a failed start the request to show the kept message. Returns 0.
uint32_t RenderThreadMain(void* window);
