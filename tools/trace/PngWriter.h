#pragma once
// Pictures as PNG files, through libpng.

#include <cstdint>

// Writes `width` x `height` pixels of red, green, blue and an ignored fourth byte, bottom row first
// (as OpenGL reads them back), as an 8-bit RGB PNG with the top row first. False when the file
// cannot be written whole; a partial file is removed.
bool WritePng(const char* path, int32_t width, int32_t height, const uint8_t* pixels);
