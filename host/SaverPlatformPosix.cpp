#include "host/SaverPlatform.h"

#include "host/HostX11.h"
#include "host/SaverFrame.h"

#include <X11/Xlib.h>
#include <semaphore.h>
#include <time.h>

uint32_t TickCount()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t milliseconds =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(milliseconds);
}

void SignalRenderThreadDone()
{
    sem_post(static_cast<sem_t*>(g_frame.doneEvent));
}

void ScreenSize(void* target, int32_t& width, int32_t& height)
{
    // The size the server announced for the screen; it needs no round trip in the frame loop.
    Display* display = static_cast<Display*>(target);
    width = DisplayWidth(display, DefaultScreen(display));
    height = DisplayHeight(display, DefaultScreen(display));
}

void SendFailedStart(void*)
{
    HostFailedStart();
}
