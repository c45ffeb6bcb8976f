#include "gfx/ShaderProgram.h"

#include "base/RunLog.h"
#include "gfx/OpenGL.h"
#include "gfx/ResourceLookup.h"

#include <cstdio>
#include <new>
#include <vector>

void ShaderSource::Load(int id)
{
    Release();
    ResourceBytes bytes;
    if (!FindResourceBytes(ResourceType::Shaders, id, bytes) || bytes.size == 0 || bytes.data[bytes.size - 1] != 0)
        return;
    texts_ = new (std::nothrow) const char*[1];
    if (texts_ == nullptr)
        return;
    texts_[0] = reinterpret_cast<const char*>(bytes.data);
    state_ = 1;
}

void ShaderSource::Release()
{
    if (state_ != -1)
        delete[] texts_;
    texts_ = nullptr;
    state_ = -1;
}

namespace {
// The compiler's or linker's explanation of a failed build. Kept out of the run log; a debug
// build shows it on stderr for whoever is working on the shaders.
void ReportBuildLog([[maybe_unused]] GLuint object, [[maybe_unused]] bool program,
                    [[maybe_unused]] const char* what)
{
#ifndef NDEBUG
    GLint length = 0;
    if (program)
        glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length);
    else
        glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> text(static_cast<size_t>(length > 0 ? length : 1), '\0');
    if (program)
        glGetProgramInfoLog(object, static_cast<GLsizei>(text.size()), nullptr, text.data());
    else
        glGetShaderInfoLog(object, static_cast<GLsizei>(text.size()), nullptr, text.data());
    std::fprintf(stderr, "morrowmere: %s failed:\n%s\n", what, text.data());
#endif
}

// One stage: 0 and the compiled shader, or 1.
int BuildShader(GLenum stage, uint16_t id, GLuint& shader)
{
    shader = glCreateShader(stage);
    if (shader == 0)
        return 1;
    ShaderSource source;
    source.Load(id);
    if (!source.IsLoaded())
        return 1;
    glShaderSource(shader, source.Count(), source.Texts(), nullptr);
    source.Release();
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) {
        ReportBuildLog(shader, false, stage == GL_VERTEX_SHADER ? "vertex shader" : "fragment shader");
        return 1;
    }
    return 0;
}
} // namespace

int CreateOGLProgram(uint16_t vertexId, uint16_t fragmentId, uint32_t& program)
{
    RunLog& log = Log();
    log.Record(kLogNotify, "Start CreateOGLProgram()");
    GLuint vertexShader = 0;
    if (vertexId != 0 && BuildShader(GL_VERTEX_SHADER, vertexId, vertexShader) != 0)
        return 1;
    log.Record(kLogNotify, "Vertex shader is built");
    GLuint fragmentShader = 0;
    if (fragmentId != 0 && BuildShader(GL_FRAGMENT_SHADER, fragmentId, fragmentShader) != 0)
        return 1;
    log.Record(kLogNotify, "Fragment shader is built");

    const GLuint linked = glCreateProgram();
    if (linked == 0)
        return 1;
    if (vertexId != 0)
        glAttachShader(linked, vertexShader);
    if (fragmentId != 0)
        glAttachShader(linked, fragmentShader);
    glLinkProgram(linked);
    GLint status = GL_FALSE;
    glGetProgramiv(linked, GL_LINK_STATUS, &status);
    if (status != GL_TRUE) {
        ReportBuildLog(linked, true, "program link");
        return 1;
    }
    log.Record(kLogNotify, "OGL program is created and built");
    program = linked;
    return 0;
}
