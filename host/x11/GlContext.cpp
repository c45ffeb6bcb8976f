// The OpenGL context on X11. The render thread talks to the server over a connection of its own
// (the host's thread keeps the other one for events), and creates the context for the visual of
// the window it draws into: its own window, the root window or one that XScreenSaver gives it.

#include "gfx/DrawingState.h"
#include "gfx/GlContext.h"

#include "base/SaverFrame.h"
#include "gfx/FittedCopy.h"
#include "gfx/FixedCamera.h"
#include "gfx/Framebuffers.h"
#include "gfx/MonitorLayout.h"
#include "gfx/OpenGL.h"

#include <GL/glxew.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

namespace {
struct Cover {
    CoverWindow window;
    bool paced; // its swap interval is set
};
} // namespace

struct GlContextBackend {
    Display* display; // the render thread's own connection
    Window window;
    GLXContext context;
    int32_t width;    // the window's drawing area
    int32_t height;
    std::vector<Cover> covers;
    FittedCopy copy; // its buffers go with the context
};

bool GlCreateContext(FrameState& frame)
{
    const Window window = static_cast<Window>(reinterpret_cast<uintptr_t>(frame.window));
    Display* display = XOpenDisplay(frame.displayName);
    if (display == nullptr)
        return false;
    frame.gl = new (std::nothrow) GlContextBackend{display, window, nullptr, 0, 0, {}, {}};
    if (frame.gl == nullptr) {
        XCloseDisplay(display);
        return false;
    }
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0)
        return false;
    frame.gl->width = attributes.width;
    frame.gl->height = attributes.height;
    XVisualInfo wanted;
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(display, VisualIDMask, &wanted, &count);
    if (visual == nullptr)
        return false;
    // The scene needs double buffering and a depth buffer; a visual without them gets no context.
    int doubleBuffer = 0, depthBits = 0, rgba = 0;
    glXGetConfig(display, visual, GLX_DOUBLEBUFFER, &doubleBuffer);
    glXGetConfig(display, visual, GLX_DEPTH_SIZE, &depthBits);
    glXGetConfig(display, visual, GLX_RGBA, &rgba);
    if (doubleBuffer && depthBits > 0 && rgba)
        frame.gl->context = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
    return frame.gl->context != nullptr;
}

void GlMakeCurrent(FrameState& frame)
{
    glXMakeCurrent(frame.gl->display, frame.gl->window, frame.gl->context);
}

bool GlLoadFunctions()
{
    return glewInit() == GLEW_OK;
}

bool GlHasSwapControl()
{
    return GLXEW_EXT_swap_control || GLXEW_MESA_swap_control;
}

namespace {
// The swap interval of the drawable that is current for drawing.
void SetSwapInterval(Display* display, Window window, int32_t interval)
{
    // Looked up directly rather than through GLEW's table, the EXT form first.
    typedef void (*SwapIntervalExt)(Display*, GLXDrawable, int);
    typedef int (*SwapIntervalMesa)(unsigned);
    if (GLXEW_EXT_swap_control) {
        const SwapIntervalExt swapInterval = reinterpret_cast<SwapIntervalExt>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
        if (swapInterval)
            swapInterval(display, window, interval);
    } else if (GLXEW_MESA_swap_control) {
        const SwapIntervalMesa swapInterval = reinterpret_cast<SwapIntervalMesa>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
        if (swapInterval)
            swapInterval(static_cast<unsigned>(interval));
    }
}
} // namespace

void GlSetSwapInterval(FrameState& frame, int32_t interval)
{
    SetSwapInterval(frame.gl->display, frame.gl->window, interval);
}

void GlSwapBuffers(FrameState& frame)
{
    glXSwapBuffers(frame.gl->display, frame.gl->window);
}

// XScreenSaver runs one hack per monitor: each window is one drawing area. Its windows can change
// size (a preview pane, a new screen mode); the picture keeps filling the window, and the camera
// takes the window's new shape. Full screen on several monitors, the other monitors' windows
// (the frame's covers) show the same picture.
void GlFitDrawingArea(FrameState& frame)
{
    GlContextBackend& gl = *frame.gl;
    int32_t width = 0, height = 0;
    if (TakeWindowSize(frame, width, height)) {
        gl.width = width;
        gl.height = height;
        MoveToArea(0, 0, width, height);
    }
    if (frame.monitorsChanged.exchange(0) != 0) {
        std::lock_guard<std::mutex> lock(frame.coversLock);
        gl.covers.clear();
        for (const CoverWindow& window : frame.covers)
            gl.covers.push_back(Cover{window, false});
    }
}

// Each cover's back buffer gets the picture of the window's back buffer, fitted, and is shown at
// once: the read drawable is the window, the draw drawable the cover.
void GlCopyToOtherMonitors(FrameState& frame)
{
    GlContextBackend& gl = *frame.gl;
    if (gl.covers.empty() || gl.width <= 0 || gl.height <= 0 || !FramebuffersOffered())
        return;
    for (Cover& cover : gl.covers) {
        const Window window = static_cast<Window>(cover.window.window);
        // A cover that went away is skipped: nothing is drawn while the window is not the read
        // drawable and the cover the draw one.
        if (!glXMakeContextCurrent(gl.display, window, gl.window, gl.context))
            continue;
        if (!cover.paced) {
            // The window's own swap keeps the frames' pace; the covers never wait for a blank.
            SetSwapInterval(gl.display, window, 0);
            cover.paced = true;
        }
        if (gl.copy.Draw({0, 0, gl.width, gl.height}, cover.window.width, cover.window.height))
            glXSwapBuffers(gl.display, window);
    }
    glXMakeContextCurrent(gl.display, gl.window, gl.window, gl.context);
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
    // The primary monitor's, as the host read it, else the size the server announced for the
    // screen; neither needs a round trip in the frame loop.
    if (UnpackSize(frame.primarySize.load(), width, height))
        return;
    Display* display = frame.gl->display;
    width = DisplayWidth(display, DefaultScreen(display));
    height = DisplayHeight(display, DefaultScreen(display));
}

void GlDeleteContext(FrameState& frame)
{
    if (frame.gl != nullptr && frame.gl->context != nullptr) {
        frame.gl->copy = FittedCopy();
        glXDestroyContext(frame.gl->display, frame.gl->context);
        frame.gl->context = nullptr;
    }
}

void GlReleaseDeviceContext(FrameState& frame)
{
    if (frame.gl == nullptr)
        return;
    // The context was deleted while current; letting go of it here frees it before the
    // connection closes.
    glXMakeCurrent(frame.gl->display, None, nullptr);
    XCloseDisplay(frame.gl->display);
    delete frame.gl;
    frame.gl = nullptr;
}
