#pragma once
// The OpenGL tests' world: one real OpenGL 2.0 context (llvmpipe under Xvfb in CI) on a window of
// kViewWidth x kViewHeight, current on the test thread for the whole run, and a run log per test.

#include "gfx/OpenGL.h"
#include "support/TestLog.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr int kViewWidth = 320;
constexpr int kViewHeight = 240;


struct Rgb {
    int r, g, b;
};
// The colour of one pixel of the back buffer, (0, 0) at the bottom left.
Rgb ReadPixel(int x, int y);
// The whole back buffer as red, green, blue, alpha bytes, bottom row first.
std::vector<unsigned char> ReadView();

// What linear filtering samples at texture coordinates (s, t) from `width` x `height` pixels of
// blue, green, red and one more byte, top row at t = 0, clamped to the edge: red, green and blue,
// scaled by `factor` before rounding.
Rgb SampleLinear(const std::vector<uint8_t>& pixels, int width, int height, double s, double t, double factor = 1.0);

// Identity projection and model-view, no depth test: a scene point (x, y) shows at the view's
// pixel ((x + 1) / 2 · width, (y + 1) / 2 · height).
void UseIdentityView();

// Runs once before any test; the context is then current.
void CreateTestContext();

// Two multisampled windows of the view's size with a context of their own, where the driver
// offers such a format (GLX): made current drawing into window `draw` (0 or 1) and reading from
// window `read`; the drawing-state record is read afresh. False, with the test context left
// current, where there are none. UseTestWindow goes back to the test context, whose objects the
// other context does not share.
bool UseMultisampledWindows(int draw, int read);
// The test context drawing into test window `draw` (0 or 1) and reading from window `read` (GLX;
// false elsewhere), as a cover is drawn from the scene's window.
bool UseTestWindows(int draw, int read);
void UseTestWindow();
