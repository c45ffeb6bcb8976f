#include "host/wayland/RenderTarget.h"

#include <wayland-client.h>

#include <cerrno>
#include <poll.h>
#include <unistd.h>

void OfferSurfaceSize(RenderTarget& target, const SurfaceSize& size)
{
    {
        std::lock_guard<std::mutex> lock(target.sizeLock);
        target.size = size;
        target.sizeChanged = true;
    }
    WakeRenderThread(target);
}

void OfferSceneSurface(RenderTarget& target, wl_surface* surface, const SurfaceSize& size)
{
    std::lock_guard<std::mutex> lock(target.sizeLock);
    target.surface = surface;
    target.size = size;
    target.sizeChanged = true;
}

void WakeRenderThread(const RenderTarget& target)
{
    const uint64_t one = 1;
    // A full counter already holds a wake-up.
    if (target.wakeFd >= 0 && write(target.wakeFd, &one, sizeof one) < 0) {
    }
}

bool FlushToCompositor(wl_display* display)
{
    while (wl_display_flush(display) < 0) {
        if (errno != EAGAIN)
            return false;
        pollfd writable = {wl_display_get_fd(display), POLLOUT, 0};
        if (poll(&writable, 1, -1) < 0 && errno != EINTR)
            return false;
    }
    return true;
}
