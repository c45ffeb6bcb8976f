// The X server's idle time, read from its screen-saver extension. The server says nothing when a
// time is reached, so the time is read when it may have been: once due after the last reading,
// and, after an idle period, often enough to see the input that ends it (the idle time going
// back) before the next one could be reached.

#include "idle/Source.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

struct X11Idle {
    Display* display = nullptr;
    XScreenSaverInfo* info = nullptr;
    uint32_t idleMs = 0;
    // An idle period may be said: the user has given input since the last one was.
    bool armed = true;
    unsigned long lastIdleMs = 0;
    // When the idle time is next worth reading (the monotonic clock, milliseconds).
    uint64_t dueMs = 0;
};

namespace {
uint64_t NowMs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}

int OnDisplayLost(Display*)
{
    std::fprintf(stderr, "morrowmere-idle: the X server has gone away\n");
    std::exit(1);
}

// Another program holds the keyboard: a locker (i3lock, light-locker), or a menu left open. The
// saver would run under it, or over it without the keys that end it.
bool KeyboardTaken(Display* display)
{
    const int grabbed =
        XGrabKeyboard(display, DefaultRootWindow(display), False, GrabModeAsync, GrabModeAsync, CurrentTime);
    if (grabbed == GrabSuccess)
        XUngrabKeyboard(display, CurrentTime);
    XSync(display, False);
    return grabbed == AlreadyGrabbed || grabbed == GrabFrozen;
}

bool HasProperty(Display* display, Window window, Atom property)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long left = 0;
    unsigned char* data = nullptr;
    const bool found = XGetWindowProperty(display, window, property, 0, 16, False, XA_STRING, &type, &format, &count,
                                          &left, &data) == Success &&
                       type != None;
    if (data != nullptr)
        XFree(data);
    return found;
}

// XScreenSaver's daemon names its version on a small window of its own, a child of the root, while
// it runs (older ones on the root itself).
bool DaemonRuns(Display* display)
{
    const Atom version = XInternAtom(display, "_SCREENSAVER_VERSION", True);
    if (version == None)
        return false;
    const Window root = DefaultRootWindow(display);
    if (HasProperty(display, root, version))
        return true;
    Window rootReturn = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, root, &rootReturn, &parent, &children, &count) == 0)
        return false;
    bool found = false;
    // A window that goes away while being looked at is no error worth a word.
    const auto previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    for (unsigned i = 0; i < count && !found; ++i)
        found = HasProperty(display, children[i], version);
    XSync(display, False);
    XSetErrorHandler(previous);
    if (children != nullptr)
        XFree(children);
    return found;
}
} // namespace

X11Idle* OpenX11Idle(uint32_t idleMs, bool& daemon, std::string& problem)
{
    daemon = false;
    if (std::getenv("DISPLAY") == nullptr)
        return nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        problem = std::string("cannot open the display ") + XDisplayName(nullptr);
        return nullptr;
    }
    int eventBase = 0;
    int errorBase = 0;
    if (!XScreenSaverQueryExtension(display, &eventBase, &errorBase)) {
        problem = "the X server has no screen-saver extension (MIT-SCREEN-SAVER)";
        XCloseDisplay(display);
        return nullptr;
    }
    if (DaemonRuns(display)) {
        daemon = true;
        XCloseDisplay(display);
        return nullptr;
    }
    XSetIOErrorHandler(OnDisplayLost);
    X11Idle* source = new X11Idle;
    source->display = display;
    source->info = XScreenSaverAllocInfo();
    source->idleMs = idleMs;
    return source;
}

int X11IdleFd(X11Idle& source, int& waitMs)
{
    const uint64_t now = NowMs();
    waitMs = source.dueMs <= now ? 0 : static_cast<int>(source.dueMs - now);
    return ConnectionNumber(source.display);
}

IdleNews ReadX11Idle(X11Idle& source)
{
    // Whatever the server sent (nothing is asked for); a closed connection ends the watcher here.
    while (XPending(source.display) > 0) {
        XEvent event;
        XNextEvent(source.display, &event);
    }
    const uint64_t now = NowMs();
    if (now < source.dueMs)
        return IdleNews::kNothing;
    XScreenSaverQueryInfo(source.display, DefaultRootWindow(source.display), source.info);
    const unsigned long idle = source.info->idle;
    // Input since the last reading sets the idle time back.
    if (idle < source.lastIdleMs)
        source.armed = true;
    source.lastIdleMs = idle;
    IdleNews news = IdleNews::kNothing;
    // Under a locker the period waits, looked at again every two seconds, until it has gone.
    bool underLocker = false;
    if (source.armed && idle >= source.idleMs) {
        underLocker = KeyboardTaken(source.display);
        if (!underLocker) {
            source.armed = false;
            news = IdleNews::kIdle;
        }
    }
    // Armed, the time is read again when it would be reached; else twice in an idle time (at most
    // a second apart), to see the input before the idle time is reached again.
    const uint64_t halfIdle = source.idleMs / 2 > 1000 ? 1000 : source.idleMs / 2;
    if (underLocker)
        source.dueMs = now + 2000;
    else
        source.dueMs = now + (source.armed ? source.idleMs - idle + 10 : (halfIdle > 0 ? halfIdle : 1));
    return news;
}

bool X11StillIdle(X11Idle& source)
{
    XScreenSaverQueryInfo(source.display, DefaultRootWindow(source.display), source.info);
    return source.info->idle >= source.idleMs && source.info->idle >= source.lastIdleMs;
}

void CloseX11Idle(X11Idle* source)
{
    if (source == nullptr)
        return;
    XFree(source->info);
    XCloseDisplay(source->display);
    delete source;
}
