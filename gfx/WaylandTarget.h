#pragma once
// What the Wayland host hands its render thread: the display, and for the frame's window and
// each cover a surface. Sizes are in buffer pixels; the render thread applies the surface's
// buffer scale with the first buffer of each size, so that a buffer never goes out at a scale it
// does not fit.

#include <atomic>
#include <cstdint>

struct wl_display;
struct wl_surface;

struct WaylandTarget {
    wl_display* display;
    wl_surface* surface;         // the frame's window
    std::atomic<int32_t> scale;  // its buffer scale, taken with the next size
};
