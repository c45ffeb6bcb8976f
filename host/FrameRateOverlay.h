#pragma once
// The frame-rate overlay: its text drawn in white on black into the top-left tenth of the screen,
// over the finished frame and before the buffer swap. Render thread only, with the rendering
// context current.

#include <cstdint>

// `text` holds only what the frame-rate counter writes (digits, "FPS : ", "---", a decimal point
// or an exponent). Glyphs grow with the screen: one pixel per glyph pixel up to 2047 pixels of
// screen width, then one more for every further 1024. Every piece of OpenGL state it changes is
// restored.
void DrawFrameRateOverlay(const char* text, int32_t screenWidth, int32_t screenHeight);
