// What a window manager and the desktop read of the X11 host's windows, and whether one runs:
// used by the window, its covers and the input alike, and kept apart so that none of those calls
// another back.

#include "host/x11/Shared.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <unistd.h>

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
