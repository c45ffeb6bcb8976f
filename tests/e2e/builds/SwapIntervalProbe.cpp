// Test builds only (linked with --wrap for GlSetSwapInterval): after the saver sets the swap
// interval, says on stderr what the context took, so a test can see that the stored EnableVSync
// reaches it. WGL reports the context's interval; GLX on a virtual display keeps none, so there
// it is the value handed to the context.

#include "gfx/OpenGL.h"

#include <cstdint>
#include <cstdio>

#ifdef _WIN32
#include <GL/wglew.h>
#endif

struct FrameState;

extern "C" void __real__Z17GlSetSwapIntervalR10FrameStatei(FrameState& frame, int32_t interval);

extern "C" void __wrap__Z17GlSetSwapIntervalR10FrameStatei(FrameState& frame, int32_t interval)
{
    __real__Z17GlSetSwapIntervalR10FrameStatei(frame, interval);
#ifdef _WIN32
    typedef int(WINAPI * GetSwapInterval)();
    const GetSwapInterval get =
        reinterpret_cast<GetSwapInterval>(reinterpret_cast<void*>(wglGetProcAddress("wglGetSwapIntervalEXT")));
    std::fprintf(stderr, "swap interval: %d\n", get != nullptr ? get() : -12345);
#else
    std::fprintf(stderr, "swap interval: %d\n", static_cast<int>(interval));
#endif
    std::fflush(stderr);
}
