#pragma once
// Linux only: the desktop's own word that the user is away, for the idle watcher (morrowmere-idle).
// Each source is one desktop's way of saying it: GNOME's idle monitor on the session bus, the
// compositor's idle notifications on Wayland (wayland-protocols' or KDE's older ones), the X
// server's screen-saver extension. The watcher reads one of them in its poll loop; every call
// comes from its one thread.

#include <cstdint>
#include <string>

struct sd_bus;

// What a source says when it is read.
enum class IdleNews {
    kNothing,
    // The user has just been away for the idle time: said once an idle period, and again only after
    // the user has come back (input) and been away once more.
    kIdle,
    // The desktop has gone away; the problem says what went.
    kLost,
};

// Milliseconds until a bus connection must be read again (at most a minute), or -1 for no time.
int MsUntilBusTimeout(sd_bus* bus);

// GNOME's idle monitor (org.gnome.Mutter.IdleMonitor) on the session bus `bus`, which the caller
// keeps open while the source lives. Null where the bus has no idle monitor.
struct MutterIdle;
MutterIdle* OpenMutterIdle(sd_bus* bus, uint32_t idleMs);
// The bus's file descriptor and the events and time it waits for; -1 for no time.
int MutterIdleFd(MutterIdle& source, short& events, int& waitMs);
IdleNews ReadMutterIdle(MutterIdle& source, std::string& problem);
// Whether the user is still away after an idle period was said (no input since).
bool MutterStillIdle(MutterIdle& source, uint32_t idleMs);
void CloseMutterIdle(MutterIdle* source);

// The compositor's idle notifications on the session's Wayland connection (WAYLAND_DISPLAY):
// ext_idle_notifier_v1 where offered, else KDE's org_kde_kwin_idle. Null where there is no
// connection or it offers neither. `name` says which.
struct WaylandIdle;
WaylandIdle* OpenWaylandIdle(uint32_t idleMs, const char*& name);
// Sends what is queued; the connection's file descriptor.
int WaylandIdleFd(WaylandIdle& source);
// `readable`: the poll found the connection readable (or closed).
IdleNews ReadWaylandIdle(WaylandIdle& source, bool readable, std::string& problem);
bool WaylandStillIdle(WaylandIdle& source);
void CloseWaylandIdle(WaylandIdle* source);

// The X server's idle time from its screen-saver extension, on the session's display (DISPLAY).
// Null with a problem where the display cannot be opened or has no such extension; null with
// `daemon` set where XScreenSaver's daemon runs there (it starts its hacks itself).
struct X11Idle;
X11Idle* OpenX11Idle(uint32_t idleMs, bool& daemon, std::string& problem);
// The display's file descriptor and the milliseconds until the idle time is worth reading again.
int X11IdleFd(X11Idle& source, int& waitMs);
IdleNews ReadX11Idle(X11Idle& source);
bool X11StillIdle(X11Idle& source);
void CloseX11Idle(X11Idle* source);
