#pragma once
// The Linux port's command line, read the way XScreenSaver starts its hacks:
//   -root           draw on the root window (or on XSCREENSAVER_WINDOW when that is set)
//   -window         a window of our own, 1280 x 720
//   -fullscreen     a window of our own over the whole screen, without the pointer, that any key,
//                   a click or a mouse move of more than 4 pixels closes (for idle daemons and
//                   desktops without XScreenSaver)
//   -window-id ID   draw on an existing window (hex with 0x, or decimal)
//   -x11            with -fullscreen on a Wayland session, run as an X client (through XWayland)
//                   rather than as the native Wayland client
//   -fps            show the frame-rate overlay for this run, whatever the stored setting
//   -sound, -no-sound   play sound or keep silent; the last one given wins, and either wins over
//                       the stored setting EnableSound (1, play, by default)
//   -delay US       microseconds of rest after each frame (default 20000), 0 to 10000000
//   -scale S        the scene's resolution as a fraction of the window's, 0.25 to 1; without it
//                   the stored setting RenderScale (a percentage, 100 by default) holds
//   -h, --help      the usage
// Without -root, -window, -fullscreen or -window-id, XSCREENSAVER_WINDOW is used when set, else a
// window of our own. The last of -root, -window, -fullscreen and -window-id wins.

#include <cstdint>
#include <string>

enum class HackTarget { OwnWindow, Root, ExistingWindow, FullScreen };

struct HackOptions {
    HackTarget target = HackTarget::OwnWindow;
    uint32_t windowId = 0; // for ExistingWindow
    bool fps = false;
    bool sound = true;
    bool soundGiven = false; // -sound or -no-sound was given: it wins over the stored setting
    // A hack without vertical sync would otherwise take a whole core; XScreenSaver's frame-rate
    // slider sets this.
    uint32_t delayMicroseconds = 20000;
    double scale = 0.0; // from -scale; 0 when it was not given
    bool x11 = false;
    bool help = false;
    std::string error; // not empty: the command line was refused, and why
};

// `screensaverWindow` is the value of XSCREENSAVER_WINDOW, or null when it is not set.
HackOptions ReadHackOptions(int argc, const char* const* argv, const char* screensaverWindow);

// Whether the run goes to the native Wayland client: full screen, on a Wayland session
// (`waylandDisplay`, the value of WAYLAND_DISPLAY, set and not empty), without -x11.
bool UsesWaylandClient(const HackOptions& options, const char* waylandDisplay);

// An X window id: "0x" or "0X" and hex digits, or decimal digits; non-zero and within 32 bits.
// False for anything else.
bool ParseWindowId(const char* text, uint32_t& id);

// The usage text, ending with a line break.
const char* HackUsage();
