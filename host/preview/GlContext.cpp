// The preview's OpenGL context: EGL on no window system at all (Mesa's surfaceless platform),
// drawing into a pbuffer of the preview's size. Each frame starts when the settings window asks
// for one and is read back and written to it after the scene.
#include "gfx/DrawingState.h"
#include "gfx/GlContext.h"

#include "base/SaverFrame.h"
#include "gfx/OpenGL.h"
#include "host/preview/Preview.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <new>
#include <unistd.h>
#include <vector>

struct GlContextBackend {
    PreviewTarget* target;
    EGLDisplay egl;
    EGLSurface surface;
    EGLContext context;
    std::vector<uint8_t> pixels; // as read, the bottom row first
    std::vector<uint8_t> frame;  // as written, the top row first
};

namespace {
// A wait for the next ask longer than this is the settings window's pause (hidden, minimised):
// the scene goes on from before it rather than leaping.
constexpr auto kPauseAfter = std::chrono::milliseconds(500);

// False when the settings window has closed its end, or at another error.
bool WriteAll(int fd, const uint8_t* bytes, size_t size)
{
    while (size > 0) {
        const ssize_t written = write(fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}
} // namespace

bool GlCreateContext(FrameState& frame)
{
    auto* target = static_cast<PreviewTarget*>(frame.window);
    frame.gl = new (std::nothrow) GlContextBackend{target, EGL_NO_DISPLAY, EGL_NO_SURFACE, EGL_NO_CONTEXT, {}, {}};
    if (frame.gl == nullptr)
        return false;
    GlContextBackend& gl = *frame.gl;
    gl.egl = eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (gl.egl == EGL_NO_DISPLAY || !eglInitialize(gl.egl, nullptr, nullptr) || !eglBindAPI(EGL_OPENGL_API))
        return false;
    const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_RED_SIZE, 8,
                             EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_DEPTH_SIZE, 16, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(gl.egl, wanted, &config, 1, &count) || count < 1)
        return false;
    const EGLint size[] = {EGL_WIDTH, target->width, EGL_HEIGHT, target->height, EGL_NONE};
    gl.surface = eglCreatePbufferSurface(gl.egl, config, size);
    if (gl.surface == EGL_NO_SURFACE)
        return false;
    gl.context = eglCreateContext(gl.egl, config, EGL_NO_CONTEXT, nullptr);
    const size_t bytes = static_cast<size_t>(target->width) * static_cast<size_t>(target->height) * 4u;
    gl.pixels.resize(bytes);
    gl.frame.resize(bytes);
    return gl.context != EGL_NO_CONTEXT;
}

void GlMakeCurrent(FrameState& frame)
{
    eglMakeCurrent(frame.gl->egl, frame.gl->surface, frame.gl->surface, frame.gl->context);
}

void GlSetSwapInterval(FrameState&, int32_t)
{
    // Nothing to wait for: the settings window asks for each frame.
}

// Waits for the settings window to ask for a frame; its end of the pipe closed ends the run.
void GlFitDrawingArea(FrameState& frame)
{
    const auto started = std::chrono::steady_clock::now();
    char ask = 0;
    ssize_t got = 0;
    while ((got = read(frame.gl->target->asks, &ask, 1)) < 0 && errno == EINTR) {
    }
    if (got != 1)
        frame.stopFlag = 1;
    if (std::chrono::steady_clock::now() - started > kPauseAfter)
        frame.pausedInWait = true;
}

void GlSwapBuffers(FrameState& frame)
{
    GlContextBackend& gl = *frame.gl;
    if (frame.stopFlag != 0)
        return;
    const int32_t width = gl.target->width, height = gl.target->height;
    // Whole 4-byte pixels: every row is aligned, whatever the pack alignment.
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, gl.pixels.data());
    const size_t row = static_cast<size_t>(width) * 4u;
    for (int32_t y = 0; y < height; ++y)
        std::memcpy(&gl.frame[static_cast<size_t>(height - 1 - y) * row], &gl.pixels[static_cast<size_t>(y) * row], row);
    if (!WriteAll(gl.target->frames, gl.frame.data(), gl.frame.size()))
        frame.stopFlag = 1;
}

void GlCopyToOtherMonitors(FrameState&)
{
}

bool GlDrawingAreaFillsWindow(const FrameState&)
{
    return true;
}

void GlOverlayViewport(const FrameState&, int32_t viewport[4])
{
    std::copy(Drawing().viewport, Drawing().viewport + 4, viewport);
}

void GlScreenSize(const FrameState& frame, int32_t& width, int32_t& height)
{
    width = frame.gl->target->width;
    height = frame.gl->target->height;
}

void GlDeleteContext(FrameState& frame)
{
    if (frame.gl != nullptr && frame.gl->context != EGL_NO_CONTEXT) {
        eglMakeCurrent(frame.gl->egl, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(frame.gl->egl, frame.gl->context);
        frame.gl->context = EGL_NO_CONTEXT;
    }
}

void GlReleaseDeviceContext(FrameState& frame)
{
    if (frame.gl == nullptr)
        return;
    if (frame.gl->surface != EGL_NO_SURFACE)
        eglDestroySurface(frame.gl->egl, frame.gl->surface);
    if (frame.gl->egl != EGL_NO_DISPLAY)
        eglTerminate(frame.gl->egl);
    delete frame.gl;
    frame.gl = nullptr;
}
