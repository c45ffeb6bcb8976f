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
// While nothing shows the scene (every window of our own unmapped or fully covered by others, or
// the monitors not on) the render thread draws nothing and every sound pauses. Under XScreenSaver
// only the monitors count: the window is the daemon's, and what shows it is the daemon's business.
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
//
// This file starts the run, waits for its end and tears it down; the window it draws on is made in
// Window.cpp, the monitors and their cover windows are kept in Monitors.cpp, and the close
// rules and the grabs are in Input.cpp (Shared.h says what they share).

#include "host/x11/Shared.h"

#include "base/RunLog.h"
#include "base/SaverFrame.h"
#include "base/SettingsStore.h"
#include "host/FrameRateCounter.h"
#include "host/linux/HackOptions.h"
#include "host/linux/Host.h"
#include "host/PowerSource.h"
#include "host/ProcessGlobals.h"
#include "host/RenderThread.h"
#include "host/SaverPlatform.h"
#include "host/VideoInit.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <poll.h>
#include <pthread.h>
#include <string>
#include <unistd.h>

namespace {
// Why the host's thread was woken, beside the shared reasons (host/linux/Host.h).
constexpr char kWakeWindowGone = 'x';

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

enum class EventResult { Continue, Close, WindowGone };

EventResult HandleEvent(const XEvent& event)
{
    if (g_host.ownWindow && StackingMayChange(event))
        g_host.stackingChanged = true;
    switch (event.type) {
    case KeyPress:
    case ButtonPress:
    case MotionNotify:
    case ClientMessage:
        if (InputEndsRun(event))
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
        if (event.xmap.window == g_host.window)
            TakeInputOnceMapped();
        g_host.sight.Mapped(event.xmap.window, true);
        break;
    case UnmapNotify:
        if (event.xunmap.window == g_host.window)
            ForgetGrabs();
        g_host.sight.Mapped(event.xunmap.window, false);
        break;
    case VisibilityNotify:
        g_host.sight.FullyCovered(event.xvisibility.window, event.xvisibility.state == VisibilityFullyObscured);
        break;
    default:
        FollowMonitorChanges(event);
        break;
    }
    return EventResult::Continue;
}

struct RunEnd {
    bool failedStart = false;
    bool windowGone = false;
};

// The render thread is told when whether anything shows the scene changed.
void TellWhetherSeen(bool& seen)
{
    if (g_host.stackingChanged) {
        g_host.stackingChanged = false;
        LookAtStacking();
    }
    const bool now = g_host.sight.Seen();
    if (now != seen)
        OfferSceneSeen(g_host.run.frame, now);
    seen = now;
}

// The sooner of two waits in milliseconds, where -1 is none.
int Sooner(int a, int b)
{
    if (a < 0 || b < 0)
        return std::max(a, b);
    return std::min(a, b);
}

// Waits for X events and wake-ups until something ends the run.
RunEnd WaitForTheEnd()
{
    RunEnd end;
    bool seen = true;
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
        // Told once the events so far are all in: a state that a window passes through within
        // them (covered, then raised) is not told.
        TellWhetherSeen(seen);
        XFlush(g_host.display);
        // Looking at the stacking asks the server, and the replies may bring events with them:
        // those are in Xlib's queue now, not on the connection that poll watches.
        if (XEventsQueued(g_host.display, QueuedAlready) > 0)
            continue;
        pollfd waits[2] = {{ConnectionNumber(g_host.display), POLLIN, 0}, {WakePipeToRead(), POLLIN, 0}};
        // While a grab is missing, the next try is due even if events keep coming; so is the next
        // reading of the monitors' power.
        const int ready = poll(waits, 2, Sooner(MsToNextGrabTry(), MsToNextPowerRead()));
        TryGrabsWhenDue();
        ReadPowerWhenDue();
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
    // Full screen on a Wayland session (or with a Wayland connection of its own, handed on with the
    // environment) the native client runs instead, with the same command line, from beside this
    // program; where it cannot be started, the run goes on through XWayland.
    if (UsesWaylandClient(options, std::getenv("WAYLAND_DISPLAY"), std::getenv("WAYLAND_SOCKET"))) {
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
    ReadMonitorsAtStart();

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
    g_host.run.frame.seenChanged = &QuietWhileUnseen;
    StartPowerWatch(g_host.run.frame);
    const bool started = StartRenderThread(g_host.renderThread, g_host.run);
    if (!started) {
        // As if the thread had failed at once: its teardown has nothing to release.
        Log().RecordAndKeep(kLogNotify, "Error of common initialization", "Error of initialization");
        SignalDoneEvent(g_host.run.frame.doneEvent);
        Wake(kWakeFailedStart);
    }

    const RunEnd end = WaitForTheEnd();
    LetGrabsGo();
    if (end.failedStart) {
        if (const char* kept = Log().KeptUserMessage())
            std::fprintf(stderr, "morrowmere: %s\n", kept);
    }
    // The window side of the end of the run: no more frames, wait for the whole teardown.
    StopFrames(g_host.run.frame);
    WaitForDoneEvent(g_host.run.frame.doneEvent);
    StopPowerWatch();
    Log().RecordNumber(kLogNotify, "FPS = %g", FrameRate().AverageRate());
    DestroyCovers();
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
