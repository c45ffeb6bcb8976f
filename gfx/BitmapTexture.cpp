#include "gfx/BitmapTexture.h"

#include "base/RunLog.h"
#include "gfx/BitmapPixels.h"
#include "gfx/OpenGL.h"

bool LoadBitmapPixels(int id, int width, int height, std::vector<uint8_t>& pixels)
{
    // The resource is checked whole before the record, so a damaged picture fails like a missing one.
    if (!ReadBitmapResource(id, width, height, pixels))
        return false;
    Log().Record(kLogNotify, "Bitmap is loaded");
    return true;
}

namespace {
// Generates the texture, binds it and sets its wrapping and filters.
void MakeTexture(const TextureParameters& parameters, uint32_t& texture)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    texture = name;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, parameters.wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, parameters.wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, parameters.magnification);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, parameters.minification);
}
} // namespace

void UploadBitmapTexture(const TextureParameters& parameters, const std::vector<uint8_t>& pixels, uint32_t& texture)
{
    MakeTexture(parameters, texture);
    // Rows are 4-byte pixels, so the default unpack alignment holds.
    glTexImage2D(GL_TEXTURE_2D, 0, parameters.internalFormat, parameters.width, parameters.height, 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, pixels.data());
}

void UploadAlphaTexture(int32_t size, const float* values, uint32_t& texture)
{
    const TextureParameters parameters = {GL_REPEAT, GL_LINEAR, GL_NEAREST, GL_ALPHA8, size, size};
    MakeTexture(parameters, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, parameters.internalFormat, size, size, 0, GL_ALPHA, GL_FLOAT, values);
}
