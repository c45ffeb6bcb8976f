#include "gfx/GenericArraysOff.h"

#include "gfx/OpenGL.h"

namespace {
// Every driver offers at least 16 and at most 32 generic attributes. Asked once: the count is the
// driver's, the same for every context, and the scope runs several times a frame.
GLuint GenericAttributes()
{
    static const GLuint attributes = [] {
        GLint most = 0;
        glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &most);
        return most < 0 ? 0u : most > 32 ? 32u : static_cast<GLuint>(most);
    }();
    return attributes;
}
} // namespace

GenericArraysOff::GenericArraysOff()
{
    const GLuint attributes = GenericAttributes();
    for (GLuint i = 0; i < attributes; ++i) {
        GLint on = GL_FALSE;
        glGetVertexAttribiv(i, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &on);
        if (on != GL_FALSE) {
            glDisableVertexAttribArray(i);
            wereOn_ |= 1u << i;
        }
    }
}

GenericArraysOff::~GenericArraysOff()
{
    ForEachSetBit(wereOn_, [](uint32_t i) { glEnableVertexAttribArray(i); });
}
