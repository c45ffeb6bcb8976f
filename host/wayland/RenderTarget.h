#pragma once
// What the Wayland host hands its render thread: the display, the globals that the render thread
// uses itself, and for the frame's window and each cover a surface. Sizes are in buffer pixels and
// travel with their scale, so that a buffer never goes out at a scale it does not fit: the render
// thread applies the scale (or the viewport) with the first buffer of each size.

#include "gfx/SurfaceSize.h"

#include <cstdint>
#include <mutex>

struct wl_display;
struct wl_shm;
struct wl_surface;
struct wp_presentation;
struct wp_viewporter;

struct RenderTarget {
    wl_display* display = nullptr;
    // The frame's window; under sizeLock once the run has started, when it becomes another
    // output's surface because the scene's own output went (the render thread moves to it with
    // the next list of covers it takes).
    wl_surface* surface = nullptr;
    wp_viewporter* viewporter = nullptr; // where the compositor offers fractional scales
    wp_presentation* presentation = nullptr; // where the compositor tells which frames were shown
    wl_shm* shm = nullptr;               // for black where a surface cannot be drawn on
    // Written by the host's thread when the outputs, their sizes or the run change, so that the
    // render thread, which may be waiting for a frame callback, takes the change at once.
    int wakeFd = -1;
    // From -delay: the shortest time from the start of one frame to the start of the next; 0 for
    // the compositor's pace alone.
    uint32_t framePeriodMicroseconds = 0;

    std::mutex sizeLock;
    SurfaceSize size;         // the window's, under sizeLock
    bool sizeChanged = false; // not yet taken by the render thread
};

// The host's thread: the window's new size, taken with the next frame.
void OfferSurfaceSize(RenderTarget& target, const SurfaceSize& size);
// The host's thread: the scene's new surface and its size, taken with the next list of covers.
void OfferSceneSurface(RenderTarget& target, wl_surface* surface, const SurfaceSize& size);
// Wakes the render thread if it waits for a frame callback.
void WakeRenderThread(const RenderTarget& target);
// Sends what the connection holds, waiting for the socket where it is full; false when the
// connection is gone.
bool FlushToCompositor(wl_display* display);
