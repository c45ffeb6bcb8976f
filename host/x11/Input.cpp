// Input and grabs of the X11 host: the close rules (q, Escape or the close button of a window of
// our own; full screen any key, a click or a move of more than 4 pixels), and full screen the focus
// and the grabs of the keyboard and pointer, taken once the window is mapped and tried again while
// another client holds them. What the grabs hold and when they are tried again is kept here alone.

#include "host/x11/Shared.h"

#include "host/CloseRules.h"
#include "host/SaverPlatform.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace {
// Full screen, another client's grab of the keyboard or pointer is waited out for this long.
constexpr int kGrabRetryMs = 100;
constexpr int kGrabTries = 30;

struct Input {
    int grabTriesLeft = 0; // while the keyboard or pointer is not yet grabbed
    uint32_t nextGrabTry = 0; // the tick of the next try
    bool keyboardGrabbed = false;
    bool pointerGrabbed = false;
    bool movedBefore = false; // a first motion was seen, at (firstX, firstY) on the screen
    int firstX = 0;
    int firstY = 0;
} g_input;

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
    g_input.grabTriesLeft = kGrabTries;
}

// One try at the grabs still missing; says once on stderr when they cannot be had.
void TryGrabs()
{
    Display* display = g_host.display;
    if (!g_input.keyboardGrabbed)
        g_input.keyboardGrabbed =
            XGrabKeyboard(display, g_host.window, False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
    if (!g_input.pointerGrabbed)
        g_input.pointerGrabbed = XGrabPointer(display, g_host.window, False, ButtonPressMask | PointerMotionMask,
                                              GrabModeAsync, GrabModeAsync, None, g_host.blank,
                                              CurrentTime) == GrabSuccess;
    g_input.nextGrabTry = TickCount() + kGrabRetryMs;
    if (g_input.keyboardGrabbed && g_input.pointerGrabbed) {
        g_input.grabTriesLeft = 0;
    } else if (--g_input.grabTriesLeft == 0) {
        const char* held = g_input.keyboardGrabbed  ? "pointer"
                           : g_input.pointerGrabbed ? "keyboard"
                                                    : "keyboard and the pointer";
        std::fprintf(stderr, "morrowmere: another program holds the %s; input reaches the saver only where it has "
                             "the focus\n",
                     held);
    }
}
} // namespace

// The close rules: true when the event ends the run.
bool InputEndsRun(const XEvent& event)
{
    switch (event.type) {
    case KeyPress:
        if (g_host.closesOnInput)
            return true;
        if (g_host.ownWindow) {
            XKeyEvent key = event.xkey;
            const KeySym symbol = XLookupKeysym(&key, 0);
            if (symbol == XK_q || symbol == XK_Q || symbol == XK_Escape)
                return true;
        }
        break;
    case ButtonPress:
        if (g_host.closesOnInput)
            return true;
        break;
    case MotionNotify:
        if (g_host.closesOnInput) {
            // The first motion only says where the pointer is; later ones are measured from it.
            const int x = event.xmotion.x_root, y = event.xmotion.y_root;
            if (!g_input.movedBefore) {
                g_input.movedBefore = true;
                g_input.firstX = x;
                g_input.firstY = y;
            } else if (MouseMoveCloses(g_input.firstX, g_input.firstY, x, y)) {
                return true;
            }
        }
        break;
    case ClientMessage:
        if (g_host.ownWindow && static_cast<Atom>(event.xclient.data.l[0]) == g_host.deleteWindow)
            return true;
        break;
    }
    return false;
}

// Full screen, the window mapped for the first time or again after an unmap.
void TakeInputOnceMapped()
{
    if (g_host.closesOnInput && !g_input.keyboardGrabbed && g_input.grabTriesLeft == 0) {
        TakeInput();
        TryGrabs();
    }
}

// The run is over: the keyboard and the pointer go at once, not with the window after the
// teardown, so that a locker started at the same moment (at a lock, before sleep) gets them
// before it gives up. The pointer first: a locker that tries between the two finds the keyboard
// still held and fails whole, to try again, rather than locking with a keyboard and no pointer.
void LetGrabsGo()
{
    XUngrabPointer(g_host.display, CurrentTime);
    XUngrabKeyboard(g_host.display, CurrentTime);
    XFlush(g_host.display);
    ForgetGrabs();
}

// The server lets a grab go when its window is unmapped: the next map takes them again.
void ForgetGrabs()
{
    g_input.keyboardGrabbed = false;
    g_input.pointerGrabbed = false;
    g_input.grabTriesLeft = 0;
}

// How long the event loop may wait for events before the next try at a missing grab: -1 (as long
// as it likes) when no grab is missing.
int MsToNextGrabTry()
{
    int timeout = -1;
    if (g_input.grabTriesLeft > 0) {
        const int32_t due = static_cast<int32_t>(g_input.nextGrabTry - TickCount());
        timeout = std::clamp(due, int32_t{0}, int32_t{kGrabRetryMs});
    }
    return timeout;
}

// After the event loop's wait: the next try at a missing grab, once it is due.
void TryGrabsWhenDue()
{
    if (g_input.grabTriesLeft > 0 && static_cast<int32_t>(g_input.nextGrabTry - TickCount()) <= 0)
        TryGrabs();
}
