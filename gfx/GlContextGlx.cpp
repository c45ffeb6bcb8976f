// The OpenGL context on X11. The render thread talks to the server over a connection of its own
// (the host's thread keeps the other one for events), and creates the context for the visual of
// the window it draws into: its own window, the root window or one that XScreenSaver gives it.

#include "gfx/GlContext.h"

#include "base/SaverFrame.h"
#include "gfx/FixedCamera.h"
#include "gfx/OpenGL.h"

#include <GL/glxew.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <new>

struct GlContextBackend {
    Display* display; // the render thread's own connection
    Window window;
    GLXContext context;
};

bool GlCreateContext(FrameState& frame)
{
    const Window window = static_cast<Window>(reinterpret_cast<uintptr_t>(frame.window));
    Display* display = XOpenDisplay(frame.displayName);
    if (display == nullptr)
        return false;
    frame.gl = new (std::nothrow) GlContextBackend{display, window, nullptr};
    if (frame.gl == nullptr) {
        XCloseDisplay(display);
        return false;
    }
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0)
        return false;
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

bool GlHasSwapControl()
{
    return GLXEW_EXT_swap_control || GLXEW_MESA_swap_control;
}

void GlSetSwapInterval(FrameState& frame, int32_t interval)
{
    // Looked up directly rather than through GLEW's table, the EXT form first.
    typedef void (*SwapIntervalExt)(Display*, GLXDrawable, int);
    typedef int (*SwapIntervalMesa)(unsigned);
    if (GLXEW_EXT_swap_control) {
        const SwapIntervalExt swapInterval = reinterpret_cast<SwapIntervalExt>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
        if (swapInterval)
            swapInterval(frame.gl->display, frame.gl->window, interval);
    } else {
        const SwapIntervalMesa swapInterval = reinterpret_cast<SwapIntervalMesa>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
        if (swapInterval)
            swapInterval(static_cast<unsigned>(interval));
    }
}

void GlSwapBuffers(FrameState& frame)
{
    glXSwapBuffers(frame.gl->display, frame.gl->window);
}

// XScreenSaver runs one hack per monitor: each window is one drawing area. Its windows can change
// size (a preview pane, a new screen mode); the picture keeps filling the window, and the camera
// takes the window's new shape.
void GlFitDrawingArea(FrameState& frame)
{
    int32_t width = 0, height = 0;
    if (TakeWindowSize(frame, width, height)) {
        glViewport(0, 0, width, height);
        FitCameraToArea(width, height);
    }
}

void GlCopyToOtherMonitors(FrameState&)
{
}

void GlScreenSize(const FrameState& frame, int32_t& width, int32_t& height)
{
    // The size the server announced for the screen; it needs no round trip in the frame loop.
    Display* display = frame.gl->display;
    width = DisplayWidth(display, DefaultScreen(display));
    height = DisplayHeight(display, DefaultScreen(display));
}

void GlDeleteContext(FrameState& frame)
{
    if (frame.gl != nullptr && frame.gl->context != nullptr) {
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
