#include "gfx/DrawingState.h"

#include "gfx/FramebufferSupport.h"

namespace {
DrawingState g_state;

const GLenum kCapabilities[kDrawingSwitches] = {GL_BLEND,      GL_ALPHA_TEST,   GL_LIGHTING,
                                                GL_FOG,        GL_CULL_FACE,    GL_SCISSOR_TEST};
const char* const kCapabilityNames[kDrawingSwitches] = {"blend",     "alpha test", "lighting",
                                                        "fog",       "cull face",  "scissor test"};

// Every driver offers at least 16 generic attributes; the record holds 32.
GLuint GenericAttributes()
{
    GLint most = 0;
    glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &most);
    return most < 0 ? 0u : most > 32 ? 32u : static_cast<GLuint>(most);
}

// The record holds one framebuffer binding for drawing and reading; the driver's read binding is
// given apart, for the comparison.
DrawingState DriverState(GLuint& readFramebuffer)
{
    DrawingState state;
    glGetIntegerv(GL_VIEWPORT, state.viewport);
    GLint value = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &value);
    state.program = static_cast<GLuint>(value);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &state.textureEnvironment);
    for (uint32_t i = 0; i < kDrawingSwitches; ++i)
        if (glIsEnabled(kCapabilities[i]))
            state.switches |= 1u << i;
    const GLuint attributes = GenericAttributes();
    for (GLuint i = 0; i < attributes; ++i) {
        GLint on = GL_FALSE;
        glGetVertexAttribiv(i, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &on);
        if (on != GL_FALSE)
            state.genericArrays |= 1u << i;
    }
    if (FramebuffersOffered()) {
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &value);
        state.framebuffer = static_cast<GLuint>(value);
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &value);
        readFramebuffer = static_cast<GLuint>(value);
    }
    return state;
}

int SwitchOf(GLenum capability)
{
    for (uint32_t i = 0; i < kDrawingSwitches; ++i)
        if (kCapabilities[i] == capability)
            return static_cast<int>(i);
    return -1;
}
} // namespace

const DrawingState& Drawing()
{
    return g_state;
}

void ReadDrawingState()
{
    GLuint read = 0;
    g_state = DriverState(read);
}

std::string DrawingStateDifferences()
{
    GLuint readFramebuffer = 0;
    const DrawingState driver = DriverState(readFramebuffer);
    std::string differences;
    for (int i = 0; i < 4; ++i)
        if (driver.viewport[i] != g_state.viewport[i]) {
            differences += "viewport\n";
            break;
        }
    if (driver.program != g_state.program)
        differences += "program\n";
    if (driver.textureEnvironment != g_state.textureEnvironment)
        differences += "texture environment\n";
    for (uint32_t i = 0; i < kDrawingSwitches; ++i)
        if (((driver.switches ^ g_state.switches) >> i & 1u) != 0)
            differences += std::string(kCapabilityNames[i]) + "\n";
    for (uint32_t i = 0; i < 32; ++i)
        if (((driver.genericArrays ^ g_state.genericArrays) >> i & 1u) != 0)
            differences += "generic array " + std::to_string(i) + "\n";
    if (driver.framebuffer != g_state.framebuffer)
        differences += "framebuffer\n";
    if (readFramebuffer != g_state.framebuffer)
        differences += "read framebuffer\n";
    return differences;
}

void SetViewport(GLint x, GLint y, GLint width, GLint height)
{
    glViewport(x, y, width, height);
    g_state.viewport[0] = x;
    g_state.viewport[1] = y;
    g_state.viewport[2] = width;
    g_state.viewport[3] = height;
}

void UseProgram(GLuint program)
{
    glUseProgram(program);
    g_state.program = program;
}

void SetTextureEnvironment(GLint mode)
{
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, mode);
    g_state.textureEnvironment = mode;
}

void SetSwitch(GLenum capability, bool on)
{
    if (on)
        glEnable(capability);
    else
        glDisable(capability);
    const int bit = SwitchOf(capability);
    if (bit < 0)
        return;
    if (on)
        g_state.switches |= 1u << bit;
    else
        g_state.switches &= ~(1u << bit);
}

void SetGenericArray(GLuint index, bool on)
{
    if (on)
        glEnableVertexAttribArray(index);
    else
        glDisableVertexAttribArray(index);
    if (index >= 32)
        return;
    if (on)
        g_state.genericArrays |= 1u << index;
    else
        g_state.genericArrays &= ~(1u << index);
}

void BindFramebuffer(GLuint framebuffer)
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    g_state.framebuffer = framebuffer;
}
