#pragma once
// The size of a Wayland surface's buffers on its output. Plain arithmetic, apart from the
// connection, so that every scale and turn can be tried without a compositor.

#include <cstdint>

// How a surface's buffers meet its output: `width` x `height` pixels, shown at an integer buffer
// scale, or, at a fractional scale, through a viewport at `logicalWidth` x `logicalHeight`
// (0 without one).
struct SurfaceSize {
    int32_t width = 0;
    int32_t height = 0;
    int32_t scale = 1;
    int32_t logicalWidth = 0;
    int32_t logicalHeight = 0;

    bool operator==(const SurfaceSize& other) const
    {
        return width == other.width && height == other.height && scale == other.scale &&
               logicalWidth == other.logicalWidth && logicalHeight == other.logicalHeight;
    }
    bool operator!=(const SurfaceSize& other) const { return !(*this == other); }
};

// What the compositor said about a full-screen surface and its output.
struct OutputShape {
    int32_t width = 0;  // the surface's logical size from its last configure; 0 leaves it to us
    int32_t height = 0;
    int32_t modeWidth = 0; // the output's current mode, in pixels before its transform
    int32_t modeHeight = 0;
    int32_t transform = 0; // wl_output's: the odd ones turn it a quarter
    int32_t scale = 1;     // the output's integer scale
    int32_t preferredScale = 0; // the surface's fractional scale in 120ths; 0 when none was given
};

// The buffers for `shape`: at the preferred fractional scale through a viewport where there is
// one (`viewports`), the logical size times the scale rounded half away from zero, as the
// fractional-scale protocol says; else the logical size times the integer scale. Without a
// configured size the logical size is the output's mode, turned as the output is, divided by the
// scale (so that the buffer is a whole number of logical pixels). Zero sizes where nothing is
// known yet.
SurfaceSize SizeOnOutput(const OutputShape& shape, bool viewports);
