// The screen-saver host on Linux: an XScreenSaver hack. It picks the window to draw on, starts
// the render thread (the same frame as on Windows), waits for events on its own connection, and
// ends the run the way the Windows saver does when its window is destroyed: stop flag, wait for
// the render thread's teardown, the frame-rate record.
//
// -fullscreen serves desktops without XScreenSaver, where the saver is its own screen saver: its
// window goes full screen on one monitor (the window manager's choice where there is one), every
// other monitor gets a window of its own that shows the same picture, and it grabs the keyboard
// and pointer, so that the input that ends the run reaches it wherever the focus goes.
//
// A run ends on q, Escape or the close button of its own window (with -fullscreen on any key, a
// click or a mouse move of more than 4 pixels, as the Windows saver does), on SIGTERM, SIGINT or
// SIGHUP, when the window it draws on is destroyed (DestroyNotify, or a BadWindow error on it), and
// after a failed start, whose kept user message goes to stderr (XScreenSaver shows a hack's stderr
// on screen).
// Exit status: 0 after a normal run, 1 after a failed start or without a display or window,
// 2 for a command line that is refused. A run ended by one of those signals ends, after its whole
// teardown, by that signal with its default action, as a parent that sent it expects (XScreenSaver
// calls any other end of a hack it stopped abnormal).

#include "base/RunLog.h"
#include "base/SaverFrame.h"
#include "base/SettingsStore.h"
#include "gfx/MonitorLayout.h"
#include "host/CloseRules.h"
#include "host/FrameRateCounter.h"
#include "host/HackOptions.h"
#include "host/HostPosix.h"
#include "host/ProcessGlobals.h"
#include "host/RenderThread.h"
#include "host/SaverPlatform.h"
#include "host/VideoInit.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>
#include <X11/keysym.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <poll.h>
#include <pthread.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
constexpr int kOwnWindowWidth = 1280;
constexpr int kOwnWindowHeight = 720;

// Full screen, another client's grab of the keyboard or pointer is waited out for this long.
constexpr int kGrabRetryMs = 100;
constexpr int kGrabTries = 30;

// Why the host's thread was woken, beside the shared reasons (HostPosix.h).
constexpr char kWakeWindowGone = 'x';

struct Host {
    Display* display = nullptr;
    std::string displayName;
    Window window = 0;
    bool ownWindow = false;
    Colormap colormap = 0;
    Atom deleteWindow = 0;
    // -fullscreen: any key, a click or a mouse move past the close rule's 4 pixels ends the run.
    bool closesOnInput = false;
    // -fullscreen: the window shows on one monitor, and a cover window of the same visual on
    // each other one shows the same picture. Covers are only ever added to the pool and unmapped
    // while the run lasts, so the render thread never draws to a window that is gone.
    Visual* visual = nullptr;
    int depth = 0;
    Cursor blank = 0;
    std::vector<Window> coverPool;
    std::vector<CoverWindow> coversShown;
    int randrEvents = -1; // RandR's first event code, when the server has it
    int grabTriesLeft = 0; // while the keyboard or pointer is not yet grabbed
    uint32_t nextGrabTry = 0; // the tick of the next try
    bool keyboardGrabbed = false;
    bool pointerGrabbed = false;
    bool movedBefore = false; // a first motion was seen, at (firstX, firstY) on the screen
    int firstX = 0;
    int firstY = 0;
    int width = 0;
    int height = 0;
    pthread_t renderThread;
    RenderRun run; // what the render thread is handed
} g_host;

// Called for X errors on both connections. Only the loss of the window matters; every other error
// is left to the step that caused it (none of the saver's steps test their results).
int OnXError(Display*, XErrorEvent* error)
{
    if ((error->error_code == BadWindow || error->error_code == BadDrawable) && error->resourceid == g_host.window)
        Wake(kWakeWindowGone);
    return 0;
}

// Called by Xlib, on whichever thread noticed, when the display connection is gone (the X server
// ended or was killed). Nothing can be torn down without a display, and exit() would run the
// process's destructors under the other thread, which may still be drawing: end at once.
int OnDisplayLost(Display*)
{
    // Both threads' connections break together. The first says so and ends the process; the
    // other waits for that, so that its own end cannot cut the line off.
    static std::atomic_flag said = ATOMIC_FLAG_INIT;
    if (said.test_and_set()) {
        for (;;)
            pause();
    }
    static const char message[] = "morrowmere: the connection to the display was lost\n";
    if (write(STDERR_FILENO, message, sizeof message - 1) < 0) {
    }
    _exit(1);
}

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

// The monitors in screen coordinates and which is the primary: RandR's monitors, Xinerama's
// heads where RandR has none, else the whole screen.
std::vector<PixelRect> ReadMonitors(Display* display, size_t& primary)
{
    std::vector<PixelRect> monitors;
    primary = 0;
    int major = 0, minor = 0;
    if (g_host.randrEvents >= 0 && XRRQueryVersion(display, &major, &minor) &&
        (major > 1 || (major == 1 && minor >= 5))) {
        int count = 0;
        XRRMonitorInfo* found = XRRGetMonitors(display, DefaultRootWindow(display), True, &count);
        for (int i = 0; found != nullptr && i < count; ++i) {
            if (found[i].width <= 0 || found[i].height <= 0)
                continue;
            if (found[i].primary)
                primary = monitors.size();
            monitors.push_back({found[i].x, found[i].y, found[i].width, found[i].height});
        }
        if (found != nullptr)
            XRRFreeMonitors(found);
    }
    int heads = 0;
    XineramaScreenInfo* screens = nullptr;
    if (monitors.empty() && XineramaIsActive(display) && (screens = XineramaQueryScreens(display, &heads)) != nullptr) {
        for (int i = 0; i < heads; ++i)
            if (screens[i].width > 0 && screens[i].height > 0)
                monitors.push_back({screens[i].x_org, screens[i].y_org, screens[i].width, screens[i].height});
    }
    if (screens != nullptr)
        XFree(screens);
    if (monitors.empty()) {
        const int screen = DefaultScreen(display);
        monitors.push_back({0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)});
        primary = 0;
    }
    // The frame-rate overlay takes its size from the primary monitor, as on Windows.
    g_host.run.frame.primarySize = PackSize(monitors[primary].width, monitors[primary].height);
    return monitors;
}

// Whether a window manager runs: an EWMH one says so on the root window.
bool WindowManagerRuns(Display* display)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    const bool runs = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type,
                                         &format, &count, &after, &data) == Success &&
                      type == XA_WINDOW && count == 1;
    if (data != nullptr)
        XFree(data);
    return runs;
}

// What a window manager and the tools on the desktop read of our windows: the title, the class,
// the machine and process that own the window, and that it takes the keyboard focus.
void NameOwnWindow(Display* display, Window window)
{
    XStoreName(display, window, "Morrowmere");
    char name[] = "morrowmere", className[] = "Morrowmere";
    XClassHint classHint = {name, className};
    XSetClassHint(display, window, &classHint);
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) == 0) {
        char* hostName = host;
        XTextProperty machine;
        if (XStringListToTextProperty(&hostName, 1, &machine) != 0) {
            XSetWMClientMachine(display, window, &machine);
            XFree(machine.value);
        }
    }
    const long pid = static_cast<long>(getpid());
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    XWMHints hints = {};
    hints.flags = InputHint | StateHint;
    hints.input = True;
    hints.initial_state = NormalState;
    XSetWMHints(display, window, &hints);
}

// A window that no window manager handles, on `monitor`, for the picture copied there.
Window CreateCover(const PixelRect& monitor)
{
    Display* display = g_host.display;
    XSetWindowAttributes attributes = {};
    attributes.colormap = g_host.colormap;
    attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
    attributes.border_pixel = 0;
    attributes.override_redirect = True;
    attributes.cursor = g_host.blank;
    attributes.event_mask = KeyPressMask | ButtonPressMask | PointerMotionMask;
    const Window cover = XCreateWindow(display, DefaultRootWindow(display), monitor.x, monitor.y,
                                       static_cast<unsigned>(monitor.width), static_cast<unsigned>(monitor.height), 0,
                                       g_host.depth, InputOutput, g_host.visual,
                                       CWColormap | CWBackPixel | CWBorderPixel | CWOverrideRedirect | CWCursor |
                                           CWEventMask,
                                       &attributes);
    if (cover != 0)
        NameOwnWindow(display, cover);
    return cover;
}

// Full screen: the monitors besides the one the window shows on get a cover each, and the render
// thread is handed the covers when they changed. After the monitors changed, a window that no
// window manager places moves to the primary monitor; a window manager moves its full-screen
// windows itself.
void CoverOtherMonitors(bool monitorsChanged)
{
    Display* display = g_host.display;
    const Window root = DefaultRootWindow(display);
    size_t primary = 0;
    const std::vector<PixelRect> monitors = ReadMonitors(display, primary);
    PixelRect window = {0, 0, g_host.width, g_host.height};
    if (monitorsChanged && !WindowManagerRuns(display)) {
        window = monitors[primary];
        XMoveResizeWindow(display, g_host.window, window.x, window.y, static_cast<unsigned>(window.width),
                          static_cast<unsigned>(window.height));
    } else {
        Window child = 0;
        XTranslateCoordinates(display, g_host.window, root, 0, 0, &window.x, &window.y, &child);
    }
    const std::vector<PixelRect> others = MonitorsBesides(monitors, window);
    std::vector<CoverWindow> covers;
    for (size_t i = 0; i < others.size(); ++i) {
        if (i == g_host.coverPool.size()) {
            const Window made = CreateCover(others[i]);
            if (made == 0)
                break;
            g_host.coverPool.push_back(made);
        }
        const PixelRect& monitor = others[i];
        XMoveResizeWindow(display, g_host.coverPool[i], monitor.x, monitor.y, static_cast<unsigned>(monitor.width),
                          static_cast<unsigned>(monitor.height));
        XMapRaised(display, g_host.coverPool[i]);
        covers.push_back({g_host.coverPool[i], monitor.width, monitor.height});
    }
    for (size_t i = covers.size(); i < g_host.coverPool.size(); ++i)
        XUnmapWindow(display, g_host.coverPool[i]);
    const auto same = [](const CoverWindow& a, const CoverWindow& b) {
        return a.window == b.window && a.width == b.width && a.height == b.height;
    };
    if (covers.size() == g_host.coversShown.size() &&
        std::equal(covers.begin(), covers.end(), g_host.coversShown.begin(), same))
        return;
    g_host.coversShown = covers;
    {
        std::lock_guard<std::mutex> lock(g_host.run.frame.coversLock);
        g_host.run.frame.covers = covers;
    }
    g_host.run.frame.monitorsChanged = 1;
}

// Full screen, once the window is mapped: the window manager is asked for the full-screen state
// again and to make it the active window (without one, it takes the focus itself), and the keyboard and pointer are grabbed, so
// that the input that ends the run reaches it on every monitor whatever the focus does. A grab
// that another client holds is tried again every kGrabRetryMs, kGrabTries times.
void TakeInput()
{
    Display* display = g_host.display;
    if (WindowManagerRuns(display)) {
        // The full-screen state asked for again, now that the window is mapped: a window manager
        // that missed the property on a busy map (sway, now and then) still takes the request.
        XEvent fullScreen = {};
        fullScreen.xclient.type = ClientMessage;
        fullScreen.xclient.window = g_host.window;
        fullScreen.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
        fullScreen.xclient.format = 32;
        fullScreen.xclient.data.l[0] = 1; // add
        fullScreen.xclient.data.l[1] = static_cast<long>(XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False));
        fullScreen.xclient.data.l[3] = 1; // asked by an application
        XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &fullScreen);
        XEvent activate = {};
        activate.xclient.type = ClientMessage;
        activate.xclient.window = g_host.window;
        activate.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
        activate.xclient.format = 32;
        activate.xclient.data.l[0] = 1; // asked by an application
        activate.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &activate);
    } else {
        XSetInputFocus(display, g_host.window, RevertToParent, CurrentTime);
    }
    g_host.grabTriesLeft = kGrabTries;
}

// One try at the grabs still missing; says once on stderr when they cannot be had.
void TryGrabs()
{
    Display* display = g_host.display;
    if (!g_host.keyboardGrabbed)
        g_host.keyboardGrabbed =
            XGrabKeyboard(display, g_host.window, False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
    if (!g_host.pointerGrabbed)
        g_host.pointerGrabbed = XGrabPointer(display, g_host.window, False, ButtonPressMask | PointerMotionMask,
                                             GrabModeAsync, GrabModeAsync, None, g_host.blank,
                                             CurrentTime) == GrabSuccess;
    g_host.nextGrabTry = TickCount() + kGrabRetryMs;
    if (g_host.keyboardGrabbed && g_host.pointerGrabbed) {
        g_host.grabTriesLeft = 0;
    } else if (--g_host.grabTriesLeft == 0) {
        const char* held = g_host.keyboardGrabbed  ? "pointer"
                           : g_host.pointerGrabbed ? "keyboard"
                                                   : "keyboard and the pointer";
        std::fprintf(stderr, "morrowmere: another program holds the %s; input reaches the saver only where it has "
                             "the focus\n",
                     held);
    }
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

// A window of our own: 1280 x 720 with a title and a close button, or (fullScreen) the primary
// monitor's size and place, which covers that monitor even where no window manager runs, with the
// window manager asked for its full-screen state (the EWMH properties, set before the window is
// mapped), no pointer, input that ends the run, and covers on the other monitors.
bool CreateOwnWindow(bool fullScreen, const HackOptions& options)
{
    Display* display = g_host.display;
    const int screen = DefaultScreen(display);
    PixelRect place = {0, 0, kOwnWindowWidth, kOwnWindowHeight};
    if (fullScreen) {
        if (g_host.randrEvents >= 0)
            XRRSelectInput(display, RootWindow(display, screen),
                           RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
        size_t primary = 0;
        place = ReadMonitors(display, primary)[primary];
    }
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
    attributes.event_mask = KeyPressMask | StructureNotifyMask;
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

enum class EventResult { Continue, Close, WindowGone };

EventResult HandleEvent(const XEvent& event)
{
    switch (event.type) {
    case KeyPress:
        if (g_host.closesOnInput)
            return EventResult::Close;
        if (g_host.ownWindow) {
            XKeyEvent key = event.xkey;
            const KeySym symbol = XLookupKeysym(&key, 0);
            if (symbol == XK_q || symbol == XK_Q || symbol == XK_Escape)
                return EventResult::Close;
        }
        break;
    case ButtonPress:
        if (g_host.closesOnInput)
            return EventResult::Close;
        break;
    case MotionNotify:
        if (g_host.closesOnInput) {
            // The first motion only says where the pointer is; later ones are measured from it.
            const int x = event.xmotion.x_root, y = event.xmotion.y_root;
            if (!g_host.movedBefore) {
                g_host.movedBefore = true;
                g_host.firstX = x;
                g_host.firstY = y;
            } else if (MouseMoveCloses(g_host.firstX, g_host.firstY, x, y)) {
                return EventResult::Close;
            }
        }
        break;
    case ClientMessage:
        if (g_host.ownWindow && static_cast<Atom>(event.xclient.data.l[0]) == g_host.deleteWindow)
            return EventResult::Close;
        break;
    case DestroyNotify:
        if (event.xdestroywindow.window == g_host.window)
            return EventResult::WindowGone;
        break;
    case ConfigureNotify:
        if (event.xconfigure.window != g_host.window)
            break;
        if (event.xconfigure.width != g_host.width || event.xconfigure.height != g_host.height) {
            g_host.width = event.xconfigure.width;
            g_host.height = event.xconfigure.height;
            OfferWindowSize(g_host.run.frame, g_host.width, g_host.height);
        }
        // A window manager may have put the window on another monitor.
        if (g_host.closesOnInput)
            CoverOtherMonitors(false);
        break;
    case MapNotify:
        if (event.xmap.window == g_host.window && g_host.closesOnInput && !g_host.keyboardGrabbed &&
            g_host.grabTriesLeft == 0) {
            TakeInput();
            TryGrabs();
        }
        break;
    case UnmapNotify:
        // The server lets a grab go when its window is unmapped: the next map takes them again.
        if (event.xunmap.window == g_host.window) {
            g_host.keyboardGrabbed = false;
            g_host.pointerGrabbed = false;
            g_host.grabTriesLeft = 0;
        }
        break;
    default:
        if (g_host.closesOnInput && g_host.randrEvents >= 0 &&
            (event.type == g_host.randrEvents + RRScreenChangeNotify || event.type == g_host.randrEvents + RRNotify)) {
            XEvent copy = event;
            XRRUpdateConfiguration(&copy);
            CoverOtherMonitors(true);
        }
        break;
    }
    return EventResult::Continue;
}

struct RunEnd {
    bool failedStart = false;
    bool windowGone = false;
};

// Waits for X events and wake-ups until something ends the run.
RunEnd WaitForTheEnd()
{
    RunEnd end;
    for (;;) {
        while (XPending(g_host.display) > 0) {
            XEvent event;
            XNextEvent(g_host.display, &event);
            const EventResult result = HandleEvent(event);
            if (result == EventResult::WindowGone)
                end.windowGone = true;
            if (result != EventResult::Continue)
                return end;
        }
        XFlush(g_host.display);
        pollfd waits[2] = {{ConnectionNumber(g_host.display), POLLIN, 0}, {WakePipeToRead(), POLLIN, 0}};
        // While a grab is missing, the next try is due even if events keep coming.
        int timeout = -1;
        if (g_host.grabTriesLeft > 0) {
            const int32_t due = static_cast<int32_t>(g_host.nextGrabTry - TickCount());
            timeout = std::clamp(due, int32_t{0}, int32_t{kGrabRetryMs});
        }
        const int ready = poll(waits, 2, timeout);
        if (g_host.grabTriesLeft > 0 && static_cast<int32_t>(g_host.nextGrabTry - TickCount()) <= 0)
            TryGrabs();
        if (ready <= 0)
            continue;
        if (waits[1].revents & POLLIN) {
            char reasons[16];
            const ssize_t count = read(WakePipeToRead(), reasons, sizeof reasons);
            bool stop = false;
            for (ssize_t i = 0; i < count; ++i) {
                if (reasons[i] == kWakeFailedStart)
                    end.failedStart = true;
                if (reasons[i] == kWakeWindowGone)
                    end.windowGone = true;
                stop = true;
            }
            if (stop)
                return end;
        }
    }
}

int Fail(const char* text, const char* detail)
{
    std::fprintf(stderr, "morrowmere: %s%s\n", text, detail);
    return 1;
}
} // namespace

int main(int argc, char** argv)
{
    // A sound output that goes away (a pipe or socket whose reader ends) must not kill the run:
    // the write fails instead, OpenAL marks the device disconnected and the saver goes on silently.
    // A display that goes away the same way reaches OnDisplayLost.
    std::signal(SIGPIPE, SIG_IGN);
    const HackOptions options = ReadHackOptions(argc, argv, std::getenv("XSCREENSAVER_WINDOW"));
    if (!options.error.empty()) {
        std::fprintf(stderr, "morrowmere: %s\n%s", options.error.c_str(), HackUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(HackUsage(), stdout);
        return 0;
    }
    // Full screen on a Wayland session the native client runs instead, with the same command line,
    // from beside this program; where it cannot be started, the run goes on through XWayland.
    if (UsesWaylandClient(options, std::getenv("WAYLAND_DISPLAY"))) {
        char self[4096];
        const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
        if (length > 0) {
            self[length] = '\0';
            std::string client(self);
            client.replace(client.rfind('/') + 1, std::string::npos, "morrowmere-wayland");
            execv(client.c_str(), argv);
            std::fprintf(stderr, "morrowmere: the Wayland client %s could not be started; running through XWayland\n",
                         client.c_str());
        }
    }
    // Only an accepted command line starts a run and its log.
    Log().OpenForProcess();
    CatchEndSignals();
    TakeHackOptions(options, g_host.run);

    // Two threads use Xlib, each on its own connection.
    XInitThreads();
    XSetIOErrorHandler(OnDisplayLost);
    if (!OpenWakePipe())
        return Fail("cannot create a pipe", "");
    // -display wins over $DISPLAY; the render thread's connection follows (frame.displayName).
    const char* displayAsked = options.display.empty() ? nullptr : options.display.c_str();
    g_host.display = XOpenDisplay(displayAsked);
    if (g_host.display == nullptr)
        return Fail("cannot open the display ", XDisplayName(displayAsked));
    BeginOrderlyEnd();
    g_host.displayName = DisplayString(g_host.display);
    g_host.run.frame.displayName = g_host.displayName.c_str();
    XSetErrorHandler(OnXError);
    int randrErrors = 0;
    if (!XRRQueryExtension(g_host.display, &g_host.randrEvents, &randrErrors))
        g_host.randrEvents = -1;
    size_t primary = 0;
    ReadMonitors(g_host.display, primary);

    bool haveWindow = false;
    switch (options.target) {
    case HackTarget::OwnWindow:
        haveWindow = CreateOwnWindow(false, options);
        break;
    case HackTarget::FullScreen:
        haveWindow = CreateOwnWindow(true, options);
        break;
    case HackTarget::Root:
        haveWindow = UseExistingWindow(DefaultRootWindow(g_host.display));
        break;
    case HackTarget::ExistingWindow:
        haveWindow = UseExistingWindow(options.windowId);
        break;
    }
    if (!g_host.ownWindow && options.visual != VisualRequest::Unset)
        std::fprintf(stderr, "morrowmere: -visual %s is ignored: the window it draws on has a visual of its own\n",
                     options.visualName.c_str());
    if (!haveWindow) {
        char id[32];
        std::snprintf(id, sizeof id, "0x%lx", static_cast<unsigned long>(g_host.window));
        XCloseDisplay(g_host.display);
        return Fail("no window to draw on: ", id);
    }
    // Drop whatever the checks above may have queued: the run starts now.
    DropStaleWakeUps();

    Log().Record(kLogNotify, "Run looping thread");
    if (!CreateRunEvents(g_host.run))
        return Fail("cannot create a semaphore", "");
    g_host.run.frame.window = reinterpret_cast<void*>(static_cast<uintptr_t>(g_host.window));
    const bool started = StartRenderThread(g_host.renderThread, g_host.run);
    if (!started) {
        // As if the thread had failed at once: its teardown has nothing to release.
        Log().RecordAndKeep(kLogNotify, "Error of common initialization", "Error of initialization");
        SignalDoneEvent(g_host.run.frame.doneEvent);
        Wake(kWakeFailedStart);
    }

    const RunEnd end = WaitForTheEnd();
    if (end.failedStart) {
        if (const char* kept = Log().KeptUserMessage())
            std::fprintf(stderr, "morrowmere: %s\n", kept);
    }
    // The window side of the end of the run: no more frames, wait for the whole teardown.
    if (g_host.run.frame.stopFlag == 0)
        g_host.run.frame.stopFlag = 1;
    WaitForDoneEvent(g_host.run.frame.doneEvent);
    Log().RecordNumber(kLogNotify, "FPS = %g", FrameRate().AverageRate());
    for (const Window cover : g_host.coverPool)
        XDestroyWindow(g_host.display, cover);
    if (g_host.ownWindow && !end.windowGone) {
        XDestroyWindow(g_host.display, g_host.window);
        XFreeColormap(g_host.display, g_host.colormap);
    }
    if (g_host.blank != 0)
        XFreeCursor(g_host.display, g_host.blank);
    XSync(g_host.display, False);
    if (started)
        JoinRenderThread(g_host.renderThread);
    XCloseDisplay(g_host.display);
    return EndHost(g_host.run, end.failedStart ? 1 : 0);
}
