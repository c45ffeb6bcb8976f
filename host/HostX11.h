#pragma once
// What the files of the X11 host share: the host's state and the functions they call each other
// by. HostX11.cpp starts the run, waits for its end and tears it down; X11Window.cpp makes or takes
// the window it draws on; X11Monitors.cpp reads the monitors and keeps the cover windows on them;
// X11Input.cpp holds the close rules and the grabs of the keyboard and pointer. Each keeps the state
// that only it uses to itself.

#include "gfx/MonitorLayout.h"
#include "host/HackOptions.h"
#include "host/RenderThread.h"

#include <X11/Xlib.h>

#include <pthread.h>
#include <string>

struct X11Host {
    Display* display = nullptr;
    std::string displayName;
    Window window = 0;
    bool ownWindow = false;
    Colormap colormap = 0;
    Atom deleteWindow = 0;
    // -fullscreen: any key, a click or a mouse move past the close rule's 4 pixels ends the run.
    bool closesOnInput = false;
    // -fullscreen: the window's visual, which the cover windows share, and the invisible pointer.
    Visual* visual = nullptr;
    int depth = 0;
    Cursor blank = 0;
    int width = 0;
    int height = 0;
    pthread_t renderThread;
    RenderRun run; // what the render thread is handed
};
extern X11Host g_host;

// X11Window.cpp: the window the run draws on, and what the window manager is told of it.
bool WindowManagerRuns(Display* display);
void NameOwnWindow(Display* display, Window window);
// Made and mapped; false when it cannot be made.
bool CreateOwnWindow(bool fullScreen, const HackOptions& options);
// False when the window cannot be read.
bool UseExistingWindow(Window window);

// X11Monitors.cpp: the monitors, and the cover windows on those the window does not show on.
void ReadMonitorsAtStart();
PixelRect WatchMonitors();
void CoverOtherMonitors(bool monitorsChanged);
void FollowMonitorChanges(const XEvent& event);
void DestroyCovers();

// X11Input.cpp: the close rules, and the focus and grabs that bring the input to the saver.
// True when the event (a key, a button, a motion, a window manager's message) ends the run.
bool InputEndsRun(const XEvent& event);
void TakeInputOnceMapped();
void ForgetGrabs();
// For the event loop, while a grab is missing: how long it may wait for events (-1: as long as it
// likes), and the next try, once it is due.
int MsToNextGrabTry();
void TryGrabsWhenDue();
