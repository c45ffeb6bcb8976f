#include "gfx/SpriteQuads.h"

#include "gfx/GenericArraysOff.h"
#include "gfx/OpenGL.h"

void SpriteQuads::Reserve(size_t sprites)
{
    vertices_.reserve(sprites * 12);
    texCoords_.reserve(sprites * 8);
    colours_.reserve(sprites * 12);
}

void SpriteQuads::Clear()
{
    vertices_.clear();
    texCoords_.clear();
    colours_.clear();
}

void SpriteQuads::Add(double x, double y, double z, double half, double red, double green, double blue)
{
    vertices_.insert(vertices_.end(), {x - half, y - half, z, x + half, y - half, z, x + half, y + half, z,
                                       x - half, y + half, z});
    texCoords_.insert(texCoords_.end(), {0.0, 0.0, 1.0, 0.0, 1.0, 1.0, 0.0, 1.0});
    colours_.insert(colours_.end(), {red, green, blue, red, green, blue, red, green, blue, red, green, blue});
}

void SpriteQuads::Draw() const
{
    if (colours_.empty())
        return;
    const GenericArraysOff genericArraysOff;
    // Client arrays are read from the bound buffer when there is one.
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_DOUBLE, 0, vertices_.data());
    glTexCoordPointer(2, GL_DOUBLE, 0, texCoords_.data());
    glColorPointer(3, GL_DOUBLE, 0, colours_.data());
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(Count() * 4));
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}
