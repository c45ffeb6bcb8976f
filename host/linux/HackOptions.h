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
//   -fps, -no-fps   show or hide the frame-rate overlay for this run, whatever the stored setting;
//                   the last one given wins
//   -sound, -no-sound   play sound or keep silent; the last one given wins, and either wins over
//                       the stored setting EnableSound (1, play, by default)
//   -battery-cap, -no-battery-cap   on battery, at most 30 frames a second, or as many as on
//                   mains; the last one given wins, and either wins over the stored setting
//                   BatteryFrameCap (1, capped, by default)
//   -delay US       microseconds of rest after each frame (default 20000), 0 to 10000000; the
//                   native Wayland client is paced by the compositor instead, and takes a given
//                   -delay as the shortest time from the start of one frame to the next
//   -scale S        the scene's resolution as a fraction of the window's, 0.25 to 1; without it
//                   the stored setting RenderScale (a percentage, 100 by default) holds
//   -display DPY    the X display to use instead of $DISPLAY; it names an X display, so with it
//                   -fullscreen runs as an X client on a Wayland session too
//   -visual V       the visual of a window of our own, by XScreenSaver's names or an id (see
//                   ChooseVisual); ignored, with a line on stderr, where OpenGL cannot draw on it
//                   and on a window that is not our own
//   -install, -noinstall, -mono, -pair   XScreenSaver's other common options: taken, no effect
//                   (a private colormap, one colour or two windows side by side mean nothing to an
//                   OpenGL scene in true colour)
//   -h, --help      the usage
// Without -root, -window, -fullscreen or -window-id, XSCREENSAVER_WINDOW is used when set, else a
// window of our own. The last of -root, -window, -fullscreen and -window-id wins.

#include <cstddef>
#include <cstdint>
#include <string>

enum class HackTarget { OwnWindow, Root, ExistingWindow, FullScreen };

// What -visual asks for: XScreenSaver's visual names (any case), a class among them, one visual by
// its id, or a word that is none of these (ignored when the window is made, as XScreenSaver's
// hacks do).
enum class VisualRequest { Unset, Default, Best, Mono, Gray, Color, GL, Class, Id, Unknown };

struct HackOptions {
    HackTarget target = HackTarget::OwnWindow;
    uint32_t windowId = 0; // for ExistingWindow
    bool fps = false;
    bool fpsGiven = false; // -fps or -no-fps was given: it wins over the stored setting
    bool sound = true;
    bool soundGiven = false; // -sound or -no-sound was given: it wins over the stored setting
    bool batteryCap = true;
    bool batteryCapGiven = false; // -battery-cap or -no-battery-cap was given: it wins likewise
    // A hack without vertical sync would otherwise take a whole core; XScreenSaver's frame-rate
    // slider sets this.
    uint32_t delayMicroseconds = 20000;
    bool delayGiven = false; // the native Wayland client rests only when asked to
    double scale = 0.0; // from -scale; 0 when it was not given
    bool x11 = false;
    std::string display; // from -display; empty for $DISPLAY
    VisualRequest visual = VisualRequest::Unset;
    int visualClass = 0;    // for VisualRequest::Class: X's class number (see VisualOffer)
    uint32_t visualId = 0;  // for VisualRequest::Id
    std::string visualName; // as given, for what is said when it is ignored
    bool help = false;
    std::string error; // not empty: the command line was refused, and why
};

// `screensaverWindow` is the value of XSCREENSAVER_WINDOW, or null when it is not set.
HackOptions ReadHackOptions(int argc, const char* const* argv, const char* screensaverWindow);

// Whether the run goes to the native Wayland client: full screen, on a Wayland session
// (`waylandDisplay`, the value of WAYLAND_DISPLAY, set and not empty) or with a Wayland connection
// of its own (`waylandSocket`, WAYLAND_SOCKET's: a lock screen's background), without -x11 or
// -display.
bool UsesWaylandClient(const HackOptions& options, const char* waylandDisplay, const char* waylandSocket = nullptr);

// An X window id: "0x" or "0X" and hex digits, or decimal digits; non-zero and within 32 bits.
// False for anything else.
bool ParseWindowId(const char* text, uint32_t& id);

// A visual of the screen as the host reads it: X's class number (StaticGray 0, GrayScale 1,
// StaticColor 2, PseudoColor 3, TrueColor 4, DirectColor 5), its depth, and whether OpenGL can
// draw the scene on it (RGBA, double-buffered, with a depth buffer).
struct VisualOffer {
    uint32_t id;
    int visualClass;
    int depth;
    bool drawable;
};

// The index in `offers` of the visual that -visual asks for, or -1 for the saver's own choice;
// then `why` says, in one line, why the request is ignored (empty when there was none, or GL).
// default is the screen's default visual (`defaultId`), an id that visual; a class, mono
// (depth 1), gray (a grey class deeper than 1), color (a colour class) and best (any class) the
// deepest of them that OpenGL can draw on, at most 24 bits deep: a deeper one carries alpha,
// which a compositor would blend with the desktop behind.
int ChooseVisual(const HackOptions& options, const VisualOffer* offers, size_t count, uint32_t defaultId,
                 std::string& why);

// The usage text, ending with a line break.
const char* HackUsage();
