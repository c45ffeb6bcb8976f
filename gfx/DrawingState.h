#pragma once
// The drawing state that the frame's savings depend on, as the program itself set it. Asking the
// driver instead costs a round trip on a threaded driver (the query waits until the driver's thread
// has caught up), several times a frame; so the state is read from the driver once, when a context
// is made or after something outside the program may have changed it, and from then on every
// change goes through the functions here, which change the driver's state and the record together.
//
// Only the items below are recorded. Code that changes one of them with a direct OpenGL call must
// put it back before it returns (as glPushAttrib / glPopAttrib does), or the record goes stale.
//
// Render thread only, with the rendering context current.

#include "gfx/OpenGL.h"

#include <cstdint>
#include <string>

// The switches recorded: those whose state changes the horizon's picture.
enum DrawingSwitch : uint32_t {
    kSwitchBlend,
    kSwitchAlphaTest,
    kSwitchLighting,
    kSwitchFog,
    kSwitchCullFace,
    kSwitchScissorTest,
    kDrawingSwitches
};

struct DrawingState {
    GLint viewport[4] = {0, 0, 0, 0}; // x, y, width, height
    GLuint program = 0;
    GLint textureEnvironment = GL_MODULATE; // GL_TEXTURE_ENV_MODE
    uint32_t switches = 0;                  // bit DrawingSwitch: on
    uint32_t genericArrays = 0;             // bit i: generic vertex attribute array i on
    GLuint framebuffer = 0;                 // drawn into and read from; 0 for the window's buffers
};

// The record.
const DrawingState& Drawing();
// Asks the driver for every item of the record.
void ReadDrawingState();
// What differs between the record and the driver's state, one item a line; empty when they agree.
// Asks the driver for everything: for tests and checks only.
std::string DrawingStateDifferences();

void SetViewport(GLint x, GLint y, GLint width, GLint height);
void UseProgram(GLuint program);
void SetTextureEnvironment(GLint mode);
// Any capability; the recorded ones (GL_BLEND, GL_ALPHA_TEST, GL_LIGHTING, GL_FOG, GL_CULL_FACE,
// GL_SCISSOR_TEST) are recorded.
void SetSwitch(GLenum capability, bool on);
void SetGenericArray(GLuint index, bool on);
// Binds `framebuffer` for drawing and reading.
void BindFramebuffer(GLuint framebuffer);
