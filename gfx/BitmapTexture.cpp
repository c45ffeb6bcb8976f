#include "gfx/BitmapTexture.h"

#include "gfx/BitmapPixels.h"
#include "gfx/OpenGL.h"
#include "host/ProcessGlobals.h"
#include "host/RunLog.h"

bool LoadBitmapPixels(int id, int width, int height, std::vector<uint8_t>& pixels)
{
    // The resource is checked whole before the record, so a damaged picture fails like a missing one.
    if (!ReadBitmapResource(id, width, height, pixels))
        return false;
    Log().Record(kLogNotify, "Bitmap is loaded");
    return true;
}

void UploadBitmapTexture(const TextureParameters& parameters, const std::vector<uint8_t>& pixels, uint32_t& texture)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    texture = name;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, parameters.wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, parameters.wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, parameters.magnification);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, parameters.minification);
    // Rows are 4-byte pixels, so the default unpack alignment holds.
    glTexImage2D(GL_TEXTURE_2D, 0, parameters.internalFormat, parameters.width, parameters.height, 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, pixels.data());
}
