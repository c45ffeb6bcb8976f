// Whether other programs' windows above ours hide them, from the server's stacking order, and
// whether ours are minimised. Under a compositing manager every window is drawn off screen and the
// server tells each that it is unobscured, so what is above ours is looked at instead: the root
// window's children above the one that holds ours (its frame under a window manager), mapped and
// drawn, together covering all of it.

#include "host/x11/Shared.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <vector>

namespace {
// The root window's child that holds `window` (the window itself, or its frame); None when the
// window has gone.
Window TopLevelOf(Display* display, Window window)
{
    const Window root = DefaultRootWindow(display);
    for (;;) {
        Window rootReturn = None;
        Window parent = None;
        Window* children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display, window, &rootReturn, &parent, &children, &count) == 0)
            return None;
        if (children != nullptr)
            XFree(children);
        if (parent == root)
            return window;
        if (parent == None)
            return None;
        window = parent;
    }
}

// A window manager's word that the window is minimised (some keep minimised windows mapped).
bool Minimised(Display* display, Window window)
{
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom hidden = XInternAtom(display, "_NET_WM_STATE_HIDDEN", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long left = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(display, window, state, 0, 64, False, XA_ATOM, &type, &format, &count, &left, &data) ==
            Success &&
        type == XA_ATOM && format == 32) {
        const Atom* atoms = reinterpret_cast<const Atom*>(data);
        found = std::find(atoms, atoms + count, hidden) != atoms + count;
    }
    if (data != nullptr)
        XFree(data);
    return found;
}

bool HiddenFromAbove(Display* display, Window window, const std::vector<unsigned long>& ours)
{
    XWindowAttributes own;
    if (XGetWindowAttributes(display, window, &own) == 0 || own.map_state != IsViewable)
        return false;
    const Window root = DefaultRootWindow(display);
    int x = 0;
    int y = 0;
    Window child = None;
    const Window top = TopLevelOf(display, window);
    Window rootReturn = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned count = 0;
    if (top == None || XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child) == 0 ||
        XQueryTree(display, root, &rootReturn, &parent, &children, &count) == 0)
        return false;
    // The root's children come bottom first.
    std::vector<ScreenBox> above;
    const Window* begin = children;
    const Window* end = children + count;
    for (const Window* other = std::find(begin, end, top); other != end; ++other) {
        XWindowAttributes attributes;
        if (*other == top || std::find(ours.begin(), ours.end(), *other) != ours.end() ||
            XGetWindowAttributes(display, *other, &attributes) == 0 || attributes.map_state != IsViewable ||
            attributes.c_class != InputOutput)
            continue;
        above.push_back({attributes.x, attributes.y, attributes.width + 2L * attributes.border_width,
                         attributes.height + 2L * attributes.border_width});
    }
    if (children != nullptr)
        XFree(children);
    return BoxCovered({x, y, own.width, own.height}, above);
}
} // namespace

// The window manager's state of a window, interned once the stacking is watched.
static Atom g_wmState = None;

void WatchStacking()
{
    g_wmState = XInternAtom(g_host.display, "_NET_WM_STATE", False);
    XSelectInput(g_host.display, DefaultRootWindow(g_host.display), SubstructureNotifyMask);
}

bool StackingMayChange(const XEvent& event)
{
    switch (event.type) {
    case CreateNotify:
    case DestroyNotify:
    case MapNotify:
    case UnmapNotify:
    case ConfigureNotify:
    case ReparentNotify:
    case CirculateNotify:
        return true;
    case PropertyNotify:
        return event.xproperty.atom == g_wmState;
    default:
        return false;
    }
}

void LookAtStacking()
{
    const std::vector<unsigned long> ours = g_host.sight.Counted();
    for (const unsigned long window : ours)
        g_host.sight.HiddenByStacking(window, Minimised(g_host.display, window) ||
                                                  HiddenFromAbove(g_host.display, window, ours));
}
