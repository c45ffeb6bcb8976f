#pragma once
// What the files of the X11 host share: the host's state and the functions they call by. Host.cpp
// starts the run, waits for its end and tears it down; Window.cpp makes or takes the window it
// draws on; Monitors.cpp reads the monitors and keeps the cover windows on them; Input.cpp holds the
// close rules and the grabs of the keyboard and pointer; WindowManager.cpp tells the window manager
// about our windows. Calls go one way only, from Host.cpp down to WindowManager.cpp. Each keeps the
// state that only it uses to itself. What shows the scene (`sight`) is told by the window's and the
// monitors' files and by the events, and Host.cpp passes each change on to the render thread;
// Stacking.cpp tells it what the windows above ours hide.

#include "gfx/MonitorLayout.h"
#include "host/linux/HackOptions.h"
#include "host/RenderThread.h"
#include "host/x11/SceneSight.h"

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
    // The windows of our own that show the scene (the window, the covers in use) and the
    // monitors' power; the render thread is told only of a change.
    SceneSight sight;
    // Our own windows' stacking is looked at again once the events so far are in.
    bool stackingChanged = false;
    pthread_t renderThread;
    RenderRun run; // what the render thread is handed
};
// The one host of the process, defined here so that no file of the host owns it.
inline X11Host g_host;

// WindowManager.cpp: whether a window manager runs, and what it is told of our windows.
bool WindowManagerRuns(Display* display);
void NameOwnWindow(Display* display, Window window);

// Window.cpp: the window the run draws on.
// Made and mapped; false when it cannot be made.
bool CreateOwnWindow(bool fullScreen, const HackOptions& options);
// False when the window cannot be read.
bool UseExistingWindow(Window window);

// Monitors.cpp: the monitors, and the cover windows on those the window does not show on.
void ReadMonitorsAtStart();
PixelRect WatchMonitors();
void CoverOtherMonitors(bool monitorsChanged);
void FollowMonitorChanges(const XEvent& event);
void DestroyCovers();
// Whether the monitors are on, told to `sight`. No event tells of a change: the event loop waits
// for events at most MsToNextPowerRead() milliseconds (-1: as long as it likes, where the server
// has no DPMS), then reads it again when due.
int MsToNextPowerRead();
void ReadPowerWhenDue();

// Stacking.cpp: whether other programs' windows above ours hide them, or ours are minimised, told to
// `sight`. Watched on windows of our own only (the root window's children are then followed).
void WatchStacking();
// True when the event may change that (a window mapped, moved, raised, or its state changed).
bool StackingMayChange(const XEvent& event);
void LookAtStacking();

// Input.cpp: the close rules, and the focus and grabs that bring the input to the saver.
// True when the event (a key, a button, a motion, a window manager's message) ends the run.
bool InputEndsRun(const XEvent& event);
void TakeInputOnceMapped();
void ForgetGrabs();
// At the end of the run, before the teardown.
void LetGrabsGo();
// For the event loop, while a grab is missing: how long it may wait for events (-1: as long as it
// likes), and the next try, once it is due.
int MsToNextGrabTry();
void TryGrabsWhenDue();
