#pragma once
// Textures made from the executable's bitmap resources: the pixel form every caller relies on, and
// the upload with each caller's own parameters; and the soft round alpha textures that the
// planet's glow and the wings' sparks compute. Render thread only, with the rendering context
// current for the upload.

#include <cstdint>
#include <vector>

// The bitmap `id` of exactly `width` x `height` as 4-byte pixels (blue, green, red, 0), the
// picture's top row first. On success writes the record "Bitmap is loaded"; false, writing
// nothing, when the executable holds no such bitmap.
bool LoadBitmapPixels(int id, int width, int height, std::vector<uint8_t>& pixels);

// How one caller's texture is made: OpenGL enumerants for wrapping (S and T alike), filters and
// the internal format.
struct TextureParameters {
    int32_t wrap;
    int32_t magnification;
    int32_t minification;
    int32_t internalFormat;
    int32_t width;
    int32_t height;
};

// Generates `texture`, binds it, sets wrap S, wrap T, magnification and minification in that
// order and uploads the pixels (blue-green-red-alpha bytes) at level 0. The texture stays bound.
void UploadBitmapTexture(const TextureParameters& parameters, const std::vector<uint8_t>& pixels, uint32_t& texture);

// Generates `texture` and uploads `size` x `size` float values (row i from index i * size) as
// GL_ALPHA8 at level 0: wrapped with GL_REPEAT, magnified linearly, minified with GL_NEAREST, set
// in that order. The texture stays bound.
void UploadAlphaTexture(int32_t size, const float* values, uint32_t& texture);
