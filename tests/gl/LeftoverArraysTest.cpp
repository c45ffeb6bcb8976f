// Another object may leave generic vertex attribute arrays on (the flowers do, for their shader's
// inputs). Drivers alias some of them with the vertex position, colour or texture coordinates, so
// the planet's glow and the wings, drawn from client arrays, must neither read them nor leave them
// off for the next object.

#include "gl/GlTest.h"

#include "gfx/DrawingState.h"
#include "gfx/FixedCamera.h"
#include "gfx/RandomUnit.h"
#include "scene/FormlessPlanet.h"
#include "scene/Wing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {
constexpr GLuint kLeftOn = 8;

// Generic arrays 0 to 7 on, each reading four floats a vertex of values no picture could survive.
void LeaveArraysOn(const std::vector<float>& garbage)
{
    for (GLuint i = 0; i < kLeftOn; ++i) {
        glVertexAttribPointer(i, 4, GL_FLOAT, GL_FALSE, 0, garbage.data());
        SetGenericArray(i, true);
    }
}

GLuint ArraysStillOn()
{
    GLuint on = 0;
    for (GLuint i = 0; i < kLeftOn; ++i) {
        GLint enabled = 0;
        glGetVertexAttribiv(i, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
        on += enabled != 0 ? 1 : 0;
    }
    return on;
}

// The planet after 200 frames and a wing with its sparks after 30, from the same seed.
std::vector<unsigned char> Picture(const std::vector<float>* garbage)
{
    FormlessPlanet planet;
    Wing wing;
    wing.SetFrame(Vec3(0.0, 0.0, 0.0), Vec3(0.0, 1.0, 0.0), Vec3(1.0, 0.0, 0.0));
    SeedRandom(31);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ApplyFixedCamera();
    for (int frame = 0; frame < 200; ++frame)
        planet.Update(16);
    if (garbage != nullptr)
        LeaveArraysOn(*garbage);
    planet.Draw();
    UseIdentityView();
    for (int frame = 0; frame < 30; ++frame) {
        wing.Advance(16);
        wing.Draw();
    }
    return ReadView();
}
} // namespace

TEST(LeftoverArrays, TheGlowAndTheWingsDrawAlikeWithGenericArraysLeftOnAndLeaveThemOn)
{
    std::vector<float> garbage(3001 * 4 * 4, -1.0e30f);
    const std::vector<unsigned char> clean = Picture(nullptr);
    const std::vector<unsigned char> leftOn = Picture(&garbage);
    EXPECT_EQ(kLeftOn, ArraysStillOn());
    for (GLuint i = 0; i < kLeftOn; ++i)
        glDisableVertexAttribArray(i);
    EXPECT_TRUE(clean == leftOn);
    // Both drew something: the glow's core and a wing in the middle of the view.
    const auto lit = std::count_if(clean.begin(), clean.end(), [](unsigned char c) { return c > 8; });
    EXPECT_GT(lit, 1000);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}
