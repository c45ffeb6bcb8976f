// The window the X11 host draws on: one of our own (windowed, or full screen on the primary monitor
// with the window manager asked for its full-screen state), or one that someone else made. Kept
// apart from the monitors and the input, which only read what is made here.

#include "host/x11/Shared.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
constexpr int kOwnWindowWidth = 1280;
constexpr int kOwnWindowHeight = 720;

// An invisible pointer for the full-screen windows: a 1 x 1 cursor with nothing in its mask.
Cursor BlankCursor(Display* display, Window window)
{
    static const char nothing[1] = {0};
    const Pixmap blank = XCreateBitmapFromData(display, window, nothing, 1, 1);
    XColor black = {};
    const Cursor cursor = XCreatePixmapCursor(display, blank, blank, &black, &black, 0, 0);
    XFreePixmap(display, blank);
    return cursor;
}

// The visual of a window of our own: the one -visual asks for where OpenGL can draw the scene on
// it, else (saying why on stderr) what the saver asks for on every platform: RGBA,
// double-buffered, 24-bit colour, depth. Null when the screen has neither.
XVisualInfo* ChooseOwnVisual(Display* display, int screen, const HackOptions& options)
{
    if (options.visual != VisualRequest::Unset) {
        XVisualInfo pattern = {};
        pattern.screen = screen;
        int count = 0;
        XVisualInfo* all = XGetVisualInfo(display, VisualScreenMask, &pattern, &count);
        std::vector<VisualOffer> offers;
        for (int i = 0; i < count; ++i) {
            int gl = 0, rgba = 0, doubleBuffer = 0, depthBits = 0, level = 0;
            const bool drawable = glXGetConfig(display, &all[i], GLX_USE_GL, &gl) == 0 && gl &&
                                  glXGetConfig(display, &all[i], GLX_RGBA, &rgba) == 0 && rgba &&
                                  glXGetConfig(display, &all[i], GLX_DOUBLEBUFFER, &doubleBuffer) == 0 &&
                                  doubleBuffer && glXGetConfig(display, &all[i], GLX_DEPTH_SIZE, &depthBits) == 0 &&
                                  depthBits > 0 && glXGetConfig(display, &all[i], GLX_LEVEL, &level) == 0 &&
                                  level == 0;
            offers.push_back({static_cast<uint32_t>(all[i].visualid), all[i].c_class, all[i].depth, drawable});
        }
        std::string why;
        const int chosen = ChooseVisual(options, offers.data(), offers.size(),
                                        static_cast<uint32_t>(XVisualIDFromVisual(DefaultVisual(display, screen))), why);
        XVisualInfo* one = nullptr;
        if (chosen >= 0)
            one = XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &all[chosen], &count);
        if (all != nullptr)
            XFree(all);
        if (one != nullptr)
            return one;
        if (!why.empty())
            std::fprintf(stderr, "morrowmere: %s\n", why.c_str());
    }
    int wanted[] = {GLX_RGBA,     GLX_DOUBLEBUFFER, GLX_RED_SIZE,   8, GLX_GREEN_SIZE, 8,
                    GLX_BLUE_SIZE, 8,               GLX_DEPTH_SIZE, 8, None};
    return glXChooseVisual(display, screen, wanted);
}
} // namespace

// A window of our own: 1280 x 720 with a title and a close button, or (fullScreen) the primary
// monitor's size and place, which covers that monitor even where no window manager runs, with the
// window manager asked for its full-screen state (the EWMH properties, set before the window is
// mapped), no pointer, input that ends the run, and covers on the other monitors.
bool CreateOwnWindow(bool fullScreen, const HackOptions& options)
{
    Display* display = g_host.display;
    const int screen = DefaultScreen(display);
    PixelRect place = {0, 0, kOwnWindowWidth, kOwnWindowHeight};
    if (fullScreen)
        place = WatchMonitors();
    const int width = place.width;
    const int height = place.height;
    XVisualInfo* chosen = ChooseOwnVisual(display, screen, options);
    Visual* visual = chosen ? chosen->visual : DefaultVisual(display, screen);
    const int depth = chosen ? chosen->depth : DefaultDepth(display, screen);
    g_host.colormap = XCreateColormap(display, RootWindow(display, screen), visual, AllocNone);
    g_host.visual = visual;
    g_host.depth = depth;
    XSetWindowAttributes attributes = {};
    attributes.colormap = g_host.colormap;
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.border_pixel = 0;
    // Whether it shows (mapped or not, fully covered or not) as well as its size and its end.
    attributes.event_mask = KeyPressMask | StructureNotifyMask | VisibilityChangeMask | PropertyChangeMask;
    if (fullScreen)
        attributes.event_mask |= ButtonPressMask | PointerMotionMask;
    g_host.window = XCreateWindow(display, RootWindow(display, screen), place.x, place.y, static_cast<unsigned>(width),
                                  static_cast<unsigned>(height), 0, depth, InputOutput, visual,
                                  CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
    if (chosen)
        XFree(chosen);
    if (g_host.window == 0)
        return false;
    g_host.ownWindow = true;
    g_host.sight.Count(g_host.window, true);
    WatchStacking();
    g_host.width = width;
    g_host.height = height;
    NameOwnWindow(display, g_host.window);
    g_host.deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, g_host.window, &g_host.deleteWindow, 1);
    if (fullScreen) {
        // Placed where asked, on the primary monitor, by window managers that place by position.
        XSizeHints size = {};
        size.flags = USPosition | USSize;
        size.x = place.x;
        size.y = place.y;
        size.width = width;
        size.height = height;
        XSetWMNormalHints(display, g_host.window, &size);
        Atom state = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
        XChangeProperty(display, g_host.window, XInternAtom(display, "_NET_WM_STATE", False), XA_ATOM, 32,
                        PropModeReplace, reinterpret_cast<unsigned char*>(&state), 1);
        // A compositor may show the window's own frames unredirected.
        const long bypass = 1;
        XChangeProperty(display, g_host.window, XInternAtom(display, "_NET_WM_BYPASS_COMPOSITOR", False), XA_CARDINAL,
                        32, PropModeReplace, reinterpret_cast<const unsigned char*>(&bypass), 1);
        g_host.blank = BlankCursor(display, g_host.window);
        XDefineCursor(display, g_host.window, g_host.blank);
        g_host.closesOnInput = true;
        // The covers go up first, so that the window that a window manager focuses on its map
        // is the last to be mapped.
        CoverOtherMonitors(false);
    }
    XMapRaised(display, g_host.window);
    return true;
}

// A window of someone else's (the root window, XScreenSaver's, a test's): drawn on with its own
// visual, watched for its end and its size, and never destroyed here.
bool UseExistingWindow(Window window)
{
    g_host.window = window;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(g_host.display, window, &attributes) == 0)
        return false;
    g_host.width = attributes.width;
    g_host.height = attributes.height;
    XSelectInput(g_host.display, window, StructureNotifyMask);
    XSync(g_host.display, False);
    return true;
}
