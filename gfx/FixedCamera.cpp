#include "gfx/DrawingState.h"
#include "gfx/FixedCamera.h"

#include "gfx/OpenGL.h"

#include <cmath>

const double kViewHalfHeightAtPlane = 4.0 * std::tan(10.5 * 3.14159265358979323846 / 180.0);

namespace {
// The written decimal constant, kept as written rather than 4/3 computed. The two give the same
// projection to a driver that keeps it in floats: cot(10.5 degrees) divided by either rounds to
// the same float.
constexpr double kFourByThreeAspect = 1.3333333;
double g_aspect = kFourByThreeAspect;

void SetProjection(double aspect)
{
    g_aspect = aspect;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(21.0, aspect, 0.01, 100.0);
}
} // namespace

double CameraAspect(int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0)
        return kFourByThreeAspect;
    // Compared as integers: 1024 x 768, 800 x 600 and the like are exactly 4:3.
    if (static_cast<int64_t>(width) * 3 == static_cast<int64_t>(height) * 4)
        return kFourByThreeAspect;
    return static_cast<double>(width) / static_cast<double>(height);
}

void ApplyFixedCamera()
{
    // Once, at start-up: the viewport the context started with.
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    SetProjection(CameraAspect(viewport[2], viewport[3]));
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 0.0, 4.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    SetSwitch(GL_CULL_FACE, true);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_AUTO_NORMAL);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
}

void FitCameraToArea(int32_t width, int32_t height)
{
    SetProjection(CameraAspect(width, height));
    glMatrixMode(GL_MODELVIEW);
}

double CurrentCameraAspect()
{
    return g_aspect;
}

void MoveToArea(int32_t x, int32_t y, int32_t width, int32_t height)
{
    SetViewport(x, y, width, height);
    FitCameraToArea(width, height);
}
