// What the OpenGL tests share on every platform: the context made once before any test, and
// reading pixels back. The context itself comes from GlTestContext.cpp (GLX) or
// GlTestContextWgl.cpp (WGL).

#include "gl/GlTest.h"

#include <gtest/gtest.h>

namespace {
class ContextEnvironment : public ::testing::Environment {
public:
    void SetUp() override { CreateTestContext(); }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new ContextEnvironment);
} // namespace

Rgb ReadPixel(int x, int y)
{
    unsigned char pixel[4] = {0, 0, 0, 0};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return {pixel[0], pixel[1], pixel[2]};
}
