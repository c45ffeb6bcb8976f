// A window of the tests' own for the Linux port's -window-id: created and mapped, its id printed
// once it shows, then it follows commands on standard input, one per line:
//   destroy   destroys it and prints "destroyed"
//   exists    prints "exists=1" when the window is still on the server, "exists=0" otherwise
//   size W H  resizes it and prints "resized"
//   grab      grabs the keyboard for it and prints "grab=0" (or X's failure code)
//   grab all  grabs the keyboard and the pointer and prints "grab=0,0" (or X's failure codes)
//   ungrab    lets both go and prints "ungrabbed"
// It ends at the end of its input, destroying the window if it is still there.
//
// `xwindow close ID` instead asks another window to close, as a window manager's close button does
// (a WM_DELETE_WINDOW message), and ends. `xwindow cursor` prints "cursor=hidden" when the pointer
// shows nothing where it is (every pixel of its image transparent), else "cursor=shown", and ends.

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {
bool g_failed = false;

int OnError(Display*, XErrorEvent*)
{
    g_failed = true;
    return 0;
}

bool Exists(Display* display, Window window)
{
    g_failed = false;
    XWindowAttributes attributes;
    const Status status = XGetWindowAttributes(display, window, &attributes);
    XSync(display, False);
    return status != 0 && !g_failed;
}

bool Viewable(Display* display, Window window)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) != 0 && attributes.map_state == IsViewable;
}
} // namespace

int AskToClose(Display* display, const char* id)
{
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(std::strtoul(id, nullptr, 0));
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return g_failed ? 1 : 0;
}

int SayCursor(Display* display)
{
    int events = 0, errors = 0;
    XFixesCursorImage* image = XFixesQueryExtension(display, &events, &errors) ? XFixesGetCursorImage(display) : nullptr;
    if (image == nullptr) {
        std::fprintf(stderr, "xwindow: the cursor cannot be read\n");
        return 1;
    }
    bool shown = false;
    for (size_t i = 0; i < static_cast<size_t>(image->width) * image->height; ++i)
        shown = shown || (image->pixels[i] >> 24) != 0;
    std::printf("cursor=%s\n", shown ? "shown" : "hidden");
    XFree(image);
    XCloseDisplay(display);
    return 0;
}

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "xwindow: no display\n");
        return 1;
    }
    XSetErrorHandler(OnError);
    if (argc == 3 && std::strcmp(argv[1], "close") == 0)
        return AskToClose(display, argv[2]);
    if (argc == 2 && std::strcmp(argv[1], "cursor") == 0)
        return SayCursor(display);
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 640, 480, 0,
                                              BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window, "xwindow");
    XMapRaised(display, window);
    XSync(display, False);
    // Under a window manager the map is its to make, when it gets to it: the id is told once the
    // window shows, so that a grab for it finds it viewable (at most 30 s, then told all the same).
    // A window manager still starting can lose the request (openbox does, between taking the
    // screen and managing what is on it), so it is asked again every second.
    for (int i = 1; i <= 300 && !Viewable(display, window); ++i) {
        usleep(100000);
        if (i % 10 == 0) {
            XMapRaised(display, window);
            XSync(display, False);
        }
    }
    std::printf("0x%lx\n", static_cast<unsigned long>(window));
    std::fflush(stdout);

    bool destroyed = false;
    char line[128];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        unsigned width = 0, height = 0;
        if (std::strncmp(line, "destroy", 7) == 0) {
            XDestroyWindow(display, window);
            XSync(display, False);
            destroyed = true;
            std::printf("destroyed\n");
        } else if (std::strncmp(line, "exists", 6) == 0) {
            std::printf("exists=%d\n", Exists(display, window) ? 1 : 0);
        } else if (std::strncmp(line, "grab all", 8) == 0) {
            const int keyboard = XGrabKeyboard(display, window, False, GrabModeAsync, GrabModeAsync, CurrentTime);
            const int pointer = XGrabPointer(display, window, False, ButtonPressMask, GrabModeAsync, GrabModeAsync,
                                             None, None, CurrentTime);
            std::printf("grab=%d,%d\n", keyboard, pointer);
        } else if (std::strncmp(line, "grab", 4) == 0) {
            std::printf("grab=%d\n", XGrabKeyboard(display, window, False, GrabModeAsync, GrabModeAsync, CurrentTime));
        } else if (std::strncmp(line, "ungrab", 6) == 0) {
            XUngrabKeyboard(display, CurrentTime);
            XUngrabPointer(display, CurrentTime);
            XSync(display, False);
            std::printf("ungrabbed\n");
        } else if (std::sscanf(line, "size %u %u", &width, &height) == 2) {
            XResizeWindow(display, window, width, height);
            XSync(display, False);
            std::printf("resized\n");
        }
        std::fflush(stdout);
    }
    if (!destroyed && Exists(display, window))
        XDestroyWindow(display, window);
    XCloseDisplay(display);
    return 0;
}
