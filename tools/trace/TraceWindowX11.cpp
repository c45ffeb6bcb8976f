// The replay program's window on X11: a window whose size never changes, on the display that the
// context backend connects to.

#include "tools/trace/TraceWindow.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <cstdio>

namespace {
Display* g_display = nullptr;
Colormap g_colormap = 0;
} // namespace

const char* TraceDisplayName()
{
    return g_display != nullptr ? DisplayString(g_display) : nullptr;
}

void PrepareTraceProcess()
{
}

void* CreateTraceWindow(int32_t width, int32_t height)
{
    g_display = XOpenDisplay(nullptr);
    if (g_display == nullptr) {
        std::fputs("morrowmere-trace: cannot open the X display (is DISPLAY set?)\n", stderr);
        return nullptr;
    }
    const int screen = DefaultScreen(g_display);
    int wanted[] = {GLX_RGBA,     GLX_DOUBLEBUFFER, GLX_RED_SIZE,   8, GLX_GREEN_SIZE, 8,
                    GLX_BLUE_SIZE, 8,               GLX_DEPTH_SIZE, 8, None};
    XVisualInfo* visual = glXChooseVisual(g_display, screen, wanted);
    if (visual == nullptr) {
        std::fputs("morrowmere-trace: the X display has no double-buffered RGBA visual with depth\n", stderr);
        return nullptr;
    }
    const Window root = RootWindow(g_display, screen);
    g_colormap = XCreateColormap(g_display, root, visual->visual, AllocNone);
    XSetWindowAttributes attributes = {};
    attributes.colormap = g_colormap;
    attributes.background_pixel = BlackPixel(g_display, screen);
    attributes.border_pixel = 0;
    const Window window =
        XCreateWindow(g_display, root, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                      visual->depth, InputOutput, visual->visual, CWColormap | CWBackPixel | CWBorderPixel,
                      &attributes);
    XFree(visual);
    XStoreName(g_display, window, "Morrowmere trace");
    XMapRaised(g_display, window);
    // The context backend opens a connection of its own and asks for this window.
    XSync(g_display, False);
    return reinterpret_cast<void*>(static_cast<uintptr_t>(window));
}

void ServiceTraceWindow()
{
}

void DestroyTraceWindow(void* window)
{
    if (g_display == nullptr)
        return;
    if (window != nullptr)
        XDestroyWindow(g_display, static_cast<Window>(reinterpret_cast<uintptr_t>(window)));
    if (g_colormap != 0)
        XFreeColormap(g_display, g_colormap);
    XCloseDisplay(g_display);
    g_display = nullptr;
}
