// The OpenGL context on X11. The render thread talks to the server over a connection of its own
// (the host's thread keeps the other one for events), and creates the context for the visual of
// the window it draws into: its own window, the root window or one that XScreenSaver gives it.

#include "gfx/GlContext.h"

#include "gfx/OpenGL.h"
#include "host/HostX11.h"
#include "host/SaverFrame.h"

#include <GL/glxew.h>
#include <X11/Xutil.h>

#include <cstdint>

namespace {
Display* FrameDisplay(const FrameState& frame)
{
    return static_cast<Display*>(frame.deviceContext);
}

Window FrameWindow(const FrameState& frame)
{
    return static_cast<Window>(reinterpret_cast<uintptr_t>(frame.window));
}
} // namespace

bool GlCreateContext(FrameState& frame)
{
    Display* display = XOpenDisplay(HostDisplayName());
    frame.deviceContext = display;
    if (display == nullptr)
        return false;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, FrameWindow(frame), &attributes) == 0)
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
        frame.renderingContext = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
    return frame.renderingContext != nullptr;
}

void GlMakeCurrent(FrameState& frame)
{
    glXMakeCurrent(FrameDisplay(frame), FrameWindow(frame), static_cast<GLXContext>(frame.renderingContext));
}

bool GlHasSwapControl()
{
    return GLXEW_EXT_swap_control || GLXEW_MESA_swap_control;
}

void GlSetSwapInterval(int32_t interval)
{
    // Looked up directly rather than through GLEW's table, the EXT form first.
    typedef void (*SwapIntervalExt)(Display*, GLXDrawable, int);
    typedef int (*SwapIntervalMesa)(unsigned);
    if (GLXEW_EXT_swap_control) {
        const SwapIntervalExt swapInterval = reinterpret_cast<SwapIntervalExt>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
        if (swapInterval)
            swapInterval(FrameDisplay(g_frame), FrameWindow(g_frame), interval);
    } else {
        const SwapIntervalMesa swapInterval = reinterpret_cast<SwapIntervalMesa>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
        if (swapInterval)
            swapInterval(static_cast<unsigned>(interval));
    }
}

void GlSwapBuffers(FrameState& frame)
{
    glXSwapBuffers(FrameDisplay(frame), FrameWindow(frame));
    // XScreenSaver's windows can change size (a preview pane, a new screen mode); the picture
    // keeps filling the window.
    int32_t width = 0, height = 0;
    if (HostTakeNewWindowSize(width, height))
        glViewport(0, 0, width, height);
}

void GlDeleteContext(FrameState& frame)
{
    if (frame.renderingContext != nullptr)
        glXDestroyContext(FrameDisplay(frame), static_cast<GLXContext>(frame.renderingContext));
    frame.renderingContext = nullptr;
}

void GlReleaseDeviceContext(FrameState& frame)
{
    Display* display = FrameDisplay(frame);
    if (display == nullptr)
        return;
    // The context was deleted while current; letting go of it here frees it before the
    // connection closes.
    glXMakeCurrent(display, None, nullptr);
    XCloseDisplay(display);
    frame.deviceContext = nullptr;
}
