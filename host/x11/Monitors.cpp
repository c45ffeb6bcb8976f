// The monitors and the cover windows of the X11 host: which monitors there are (RandR's, or
// Xinerama's) and whether they are on (DPMS), and full screen a cover window on each monitor the
// window does not show on, made, moved and unmapped as the monitors change, and handed to the
// render thread, which copies the picture to them. The covers, RandR and DPMS are only ever
// touched here.

#include "host/x11/Shared.h"

#include "base/SaverFrame.h"
#include "host/SaverPlatform.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/dpms.h>

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <vector>

namespace {
// The server tells of no change of the monitors' power: it is read again this often.
constexpr int kPowerReadMs = 1000;

struct Monitors {
    // -fullscreen: the window shows on one monitor, and a cover window of the same visual on
    // each other one shows the same picture. Covers are only ever added to the pool and unmapped
    // while the run lasts, so the render thread never draws to a window that is gone.
    std::vector<Window> coverPool;
    std::vector<CoverWindow> coversShown;
    int randrEvents = -1; // RandR's first event code, when the server has it
    bool dpms = false; // the server says whether the monitors are on
    uint32_t nextPowerRead = 0; // the tick of the next reading
} g_monitors;

// The monitors in screen coordinates and which is the primary: RandR's monitors, Xinerama's
// heads where RandR has none, else the whole screen.
std::vector<PixelRect> ReadMonitors(Display* display, size_t& primary)
{
    std::vector<PixelRect> monitors;
    primary = 0;
    int major = 0, minor = 0;
    if (g_monitors.randrEvents >= 0 && XRRQueryVersion(display, &major, &minor) &&
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
    // Whether it shows: mapped or not, fully covered or not.
    attributes.event_mask =
        KeyPressMask | ButtonPressMask | PointerMotionMask | StructureNotifyMask | VisibilityChangeMask;
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

void ReadPower()
{
    CARD16 level = DPMSModeOn;
    BOOL enabled = False;
    if (DPMSInfo(g_host.display, &level, &enabled))
        g_host.sight.MonitorsPower(enabled != False, level);
    g_monitors.nextPowerRead = TickCount() + kPowerReadMs;
}
} // namespace

// Once, at the start of every run: whether the server has RandR, and the monitors, whose primary
// gives the frame-rate overlay its size whatever the window is; whether the server can say that
// they are on, and whether they are.
void ReadMonitorsAtStart()
{
    int randrErrors = 0;
    if (!XRRQueryExtension(g_host.display, &g_monitors.randrEvents, &randrErrors))
        g_monitors.randrEvents = -1;
    size_t primary = 0;
    ReadMonitors(g_host.display, primary);
    int dpmsEvents = 0, dpmsErrors = 0;
    g_monitors.dpms = DPMSQueryExtension(g_host.display, &dpmsEvents, &dpmsErrors) && DPMSCapable(g_host.display);
    if (g_monitors.dpms)
        ReadPower();
}

// Full screen, before the window is made: RandR is asked to tell of every change to the monitors.
// The primary monitor, where the window goes.
PixelRect WatchMonitors()
{
    Display* display = g_host.display;
    const int screen = DefaultScreen(display);
    if (g_monitors.randrEvents >= 0)
        XRRSelectInput(display, RootWindow(display, screen),
                       RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
    size_t primary = 0;
    return ReadMonitors(display, primary)[primary];
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
        if (i == g_monitors.coverPool.size()) {
            const Window made = CreateCover(others[i]);
            if (made == 0)
                break;
            g_monitors.coverPool.push_back(made);
        }
        const PixelRect& monitor = others[i];
        XMoveResizeWindow(display, g_monitors.coverPool[i], monitor.x, monitor.y, static_cast<unsigned>(monitor.width),
                          static_cast<unsigned>(monitor.height));
        XMapRaised(display, g_monitors.coverPool[i]);
        g_host.sight.Count(g_monitors.coverPool[i], true);
        covers.push_back({g_monitors.coverPool[i], monitor.width, monitor.height});
    }
    for (size_t i = covers.size(); i < g_monitors.coverPool.size(); ++i) {
        XUnmapWindow(display, g_monitors.coverPool[i]);
        g_host.sight.Count(g_monitors.coverPool[i], false);
    }
    const auto same = [](const CoverWindow& a, const CoverWindow& b) {
        return a.window == b.window && a.width == b.width && a.height == b.height;
    };
    if (covers.size() == g_monitors.coversShown.size() &&
        std::equal(covers.begin(), covers.end(), g_monitors.coversShown.begin(), same))
        return;
    g_monitors.coversShown = covers;
    {
        std::lock_guard<std::mutex> lock(g_host.run.frame.coversLock);
        g_host.run.frame.covers = covers;
    }
    g_host.run.frame.monitorsChanged = 1;
}

// Full screen: a RandR event says the monitors changed (Xlib's record of the screen's size is
// brought up to date first). Any other event is left be.
void FollowMonitorChanges(const XEvent& event)
{
    if (g_host.closesOnInput && g_monitors.randrEvents >= 0 &&
        (event.type == g_monitors.randrEvents + RRScreenChangeNotify ||
         event.type == g_monitors.randrEvents + RRNotify)) {
        XEvent copy = event;
        XRRUpdateConfiguration(&copy);
        CoverOtherMonitors(true);
    }
}

int MsToNextPowerRead()
{
    if (!g_monitors.dpms)
        return -1;
    const int32_t due = static_cast<int32_t>(g_monitors.nextPowerRead - TickCount());
    return std::clamp(due, int32_t{0}, int32_t{kPowerReadMs});
}

void ReadPowerWhenDue()
{
    if (g_monitors.dpms && static_cast<int32_t>(g_monitors.nextPowerRead - TickCount()) <= 0)
        ReadPower();
}

// At the end of the run, once the render thread no longer draws to them.
void DestroyCovers()
{
    for (const Window cover : g_monitors.coverPool)
        XDestroyWindow(g_host.display, cover);
}
