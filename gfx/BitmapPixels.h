#pragma once
// Bitmap resources turned into the pixel form the textures are made from: 4 bytes per pixel
// (blue, green, red, 0), the picture's top row first, no padding between rows.

#include <cstddef>
#include <cstdint>
#include <vector>

// Decodes a 24-bit uncompressed device-independent bitmap (info header first, no file header) of
// exactly `width` x `height` pixels. Every header field and size is checked against `size` before a
// pixel is read: anything else, truncated or inconsistent gives false and leaves `pixels` alone.
bool DecodeBitmapPixels(const uint8_t* bytes, size_t size, int width, int height, std::vector<uint8_t>& pixels);

// Finds bitmap resource `id` and decodes it; false when it is missing or not such a bitmap.
bool ReadBitmapResource(int id, int width, int height, std::vector<uint8_t>& pixels);
