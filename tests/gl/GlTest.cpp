// What the OpenGL tests share on every platform: the context made once before any test, and
// reading pixels back. The context itself comes from GlTestContext.cpp (GLX) or
// GlTestContextWgl.cpp (WGL).

#include "gl/GlTest.h"

#include "gfx/DrawingState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {
class ContextEnvironment : public ::testing::Environment {
public:
    void SetUp() override { CreateTestContext(); }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new ContextEnvironment);

// Every test starts from the context as it was made, whatever the test before it left behind (a
// failed check returns early, with its own viewport, camera, program or arrays still set), so a
// fault shows in its own test only.
class FreshState : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override
    {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
        // The drawing-state record starts from the driver's, as a run's does.
        ReadDrawingState();
    }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        glPopClientAttrib();
        glPopAttrib();
        // Neither stack holds these.
        glUseProgram(0);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        if (GLEW_EXT_framebuffer_object)
            glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        GLint attributes = 0;
        glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &attributes);
        for (GLint i = 0; i < attributes; ++i)
            glDisableVertexAttribArray(static_cast<GLuint>(i));
        for (GLenum matrix : {GL_TEXTURE, GL_PROJECTION, GL_MODELVIEW}) {
            glMatrixMode(matrix);
            glLoadIdentity();
        }
        while (glGetError() != GL_NO_ERROR) {
        }
    }
};
const bool g_freshState = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshState);
    return true;
}();
} // namespace

Rgb ReadPixel(int x, int y)
{
    unsigned char pixel[4] = {0, 0, 0, 0};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return {pixel[0], pixel[1], pixel[2]};
}

std::vector<unsigned char> ReadView()
{
    std::vector<unsigned char> pixels(static_cast<size_t>(kViewWidth) * kViewHeight * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kViewWidth, kViewHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

Rgb SampleLinear(const std::vector<uint8_t>& pixels, int width, int height, double s, double t, double factor)
{
    const double u = s * width - 0.5, v = t * height - 0.5;
    const int u0 = static_cast<int>(std::floor(u)), v0 = static_cast<int>(std::floor(v));
    const double fu = u - u0, fv = v - v0;
    double channel[3] = {0, 0, 0};
    for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) {
            const int cx = std::clamp(u0 + dx, 0, width - 1), cy = std::clamp(v0 + dy, 0, height - 1);
            const double weight = (dx ? fu : 1 - fu) * (dy ? fv : 1 - fv);
            const uint8_t* texel = &pixels[(static_cast<size_t>(cy) * width + cx) * 4];
            for (int c = 0; c < 3; ++c)
                channel[c] += weight * texel[c];
        }
    // Pixels are blue, green, red.
    return {static_cast<int>(std::lround(channel[2] * factor)), static_cast<int>(std::lround(channel[1] * factor)),
            static_cast<int>(std::lround(channel[0] * factor))};
}

void UseIdentityView()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
}
