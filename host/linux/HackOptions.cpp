#include "host/linux/HackOptions.h"

#include "base/RenderScale.h"

#include <cstring>
#include <strings.h>

bool ParseWindowId(const char* text, uint32_t& id)
{
    if (text == nullptr)
        return false;
    unsigned base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
    }
    if (*text == '\0')
        return false;
    uint64_t value = 0;
    for (; *text != '\0'; ++text) {
        const char c = *text;
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return false;
        value = value * base + digit;
        if (value > 0xFFFFFFFFu)
            return false;
    }
    if (value == 0)
        return false;
    id = static_cast<uint32_t>(value);
    return true;
}

namespace {
// Decimal digits only, at most 10000000 (ten seconds).
bool ParseDelay(const char* text, uint32_t& microseconds)
{
    if (*text == '\0')
        return false;
    uint32_t value = 0;
    for (; *text != '\0'; ++text) {
        if (*text < '0' || *text > '9')
            return false;
        value = value * 10 + static_cast<uint32_t>(*text - '0');
        if (value > 10000000u)
            return false;
    }
    microseconds = value;
    return true;
}

// XScreenSaver's visual names, then its class names in the order of X's class numbers.
struct VisualName {
    const char* name;
    VisualRequest request;
};
constexpr VisualName kVisualNames[] = {
    {"default", VisualRequest::Default}, {"best", VisualRequest::Best},   {"mono", VisualRequest::Mono},
    {"monochrome", VisualRequest::Mono}, {"gray", VisualRequest::Gray},   {"grey", VisualRequest::Gray},
    {"color", VisualRequest::Color},     {"colour", VisualRequest::Color}, {"gl", VisualRequest::GL},
};
constexpr const char* kVisualClasses[][2] = {
    {"staticgray", nullptr}, {"grayscale", "greyscale"}, {"staticcolor", nullptr},
    {"pseudocolor", nullptr}, {"truecolor", nullptr},    {"directcolor", nullptr},
};

void ReadVisual(const char* text, HackOptions& options)
{
    options.visualName = text;
    for (const VisualName& known : kVisualNames) {
        if (strcasecmp(text, known.name) == 0) {
            options.visual = known.request;
            return;
        }
    }
    for (int visualClass = 0; visualClass < 6; ++visualClass) {
        for (const char* name : kVisualClasses[visualClass]) {
            if (name != nullptr && strcasecmp(text, name) == 0) {
                options.visual = VisualRequest::Class;
                options.visualClass = visualClass;
                return;
            }
        }
    }
    options.visual = ParseWindowId(text, options.visualId) ? VisualRequest::Id : VisualRequest::Unknown;
}

// Whether a visual of X's class `visualClass` and `depth` is among those that -visual names.
bool VisualMatches(const HackOptions& options, int visualClass, int depth)
{
    const bool grey = visualClass <= 1; // StaticGray, GrayScale
    switch (options.visual) {
    case VisualRequest::Class:
        return visualClass == options.visualClass;
    case VisualRequest::Mono:
        return depth == 1;
    case VisualRequest::Gray:
        return grey && depth > 1;
    case VisualRequest::Color:
        return !grey;
    default: // Best
        return true;
    }
}

constexpr const char* kNotDrawable = "OpenGL cannot draw the scene on it (it needs RGBA, double buffering and depth)";
} // namespace

HackOptions ReadHackOptions(int argc, const char* const* argv, const char* screensaverWindow)
{
    HackOptions options;
    bool chosen = false;
    bool root = false;
    for (int i = 1; i < argc; ++i) {
        // XScreenSaver writes hack options with one dash or two (-root, --root), meaning the same.
        const char* arg = argv[i];
        if (arg[0] == '-' && arg[1] == '-' && arg[2] != '\0')
            ++arg;
        if (std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "-help") == 0) {
            options.help = true;
        } else if (std::strcmp(arg, "-fps") == 0) {
            options.fps = true;
            options.fpsGiven = true;
        } else if (std::strcmp(arg, "-no-fps") == 0) {
            options.fps = false;
            options.fpsGiven = true;
        } else if (std::strcmp(arg, "-install") == 0 || std::strcmp(arg, "-noinstall") == 0 ||
                   std::strcmp(arg, "-mono") == 0 || std::strcmp(arg, "-pair") == 0) {
            // Taken as every XScreenSaver hack takes them; nothing in a true-colour OpenGL scene
            // has a use for them.
        } else if (std::strcmp(arg, "-display") == 0) {
            if (i + 1 >= argc) {
                options.error = "-display needs a display name";
                return options;
            }
            options.display = argv[++i];
        } else if (std::strcmp(arg, "-visual") == 0) {
            if (i + 1 >= argc) {
                options.error = "-visual needs a visual name or id";
                return options;
            }
            ReadVisual(argv[++i], options);
        } else if (std::strcmp(arg, "-x11") == 0) {
            options.x11 = true;
        } else if (std::strcmp(arg, "-sound") == 0) {
            options.sound = true;
            options.soundGiven = true;
        } else if (std::strcmp(arg, "-no-sound") == 0) {
            options.sound = false;
            options.soundGiven = true;
        } else if (std::strcmp(arg, "-battery-cap") == 0) {
            options.batteryCap = true;
            options.batteryCapGiven = true;
        } else if (std::strcmp(arg, "-no-battery-cap") == 0) {
            options.batteryCap = false;
            options.batteryCapGiven = true;
        } else if (std::strcmp(arg, "-delay") == 0) {
            if (i + 1 >= argc) {
                options.error = "-delay needs microseconds";
                return options;
            }
            ++i;
            if (!ParseDelay(argv[i], options.delayMicroseconds)) {
                options.error = std::string("not a delay from 0 to 10000000 microseconds: ") + argv[i];
                return options;
            }
            options.delayGiven = true;
        } else if (std::strcmp(arg, "-scale") == 0) {
            if (i + 1 >= argc) {
                options.error = "-scale needs a number";
                return options;
            }
            ++i;
            if (!ParseRenderScale(argv[i], options.scale)) {
                options.error = std::string("not a scale from 0.25 to 1: ") + argv[i];
                return options;
            }
        } else if (std::strcmp(arg, "-root") == 0) {
            chosen = true;
            root = true;
        } else if (std::strcmp(arg, "-window") == 0) {
            chosen = true;
            root = false;
            options.target = HackTarget::OwnWindow;
        } else if (std::strcmp(arg, "-fullscreen") == 0) {
            chosen = true;
            root = false;
            options.target = HackTarget::FullScreen;
        } else if (std::strcmp(arg, "-window-id") == 0) {
            if (i + 1 >= argc) {
                options.error = "-window-id needs a window id";
                return options;
            }
            ++i;
            if (!ParseWindowId(argv[i], options.windowId)) {
                options.error = std::string("not a window id: ") + argv[i];
                return options;
            }
            chosen = true;
            root = false;
            options.target = HackTarget::ExistingWindow;
        } else {
            options.error = std::string("unknown option: ") + argv[i];
            return options;
        }
    }
    // XScreenSaver hands its window over in the environment and may also say -root.
    if (root || !chosen) {
        if (screensaverWindow != nullptr) {
            if (!ParseWindowId(screensaverWindow, options.windowId)) {
                options.error = std::string("XSCREENSAVER_WINDOW is not a window id: ") + screensaverWindow;
                return options;
            }
            options.target = HackTarget::ExistingWindow;
        } else if (root) {
            options.target = HackTarget::Root;
        }
    }
    return options;
}

bool UsesWaylandClient(const HackOptions& options, const char* waylandDisplay, const char* waylandSocket)
{
    const auto given = [](const char* value) { return value != nullptr && value[0] != '\0'; };
    // -display names an X display: asked for, it is the one drawn on.
    return options.target == HackTarget::FullScreen && !options.x11 && options.display.empty() &&
           (given(waylandDisplay) || given(waylandSocket));
}

int ChooseVisual(const HackOptions& options, const VisualOffer* offers, size_t count, uint32_t defaultId,
                 std::string& why)
{
    why.clear();
    const std::string ignored = "-visual " + options.visualName + " is ignored: ";
    switch (options.visual) {
    case VisualRequest::Unset:
    case VisualRequest::GL:
        return -1;
    case VisualRequest::Unknown:
        why = ignored + "not a visual class (default, best, mono, gray, color, GL, truecolor...) nor a visual id";
        return -1;
    case VisualRequest::Default:
    case VisualRequest::Id: {
        const uint32_t id = options.visual == VisualRequest::Id ? options.visualId : defaultId;
        for (size_t i = 0; i < count; ++i) {
            if (offers[i].id != id)
                continue;
            if (offers[i].drawable)
                return static_cast<int>(i);
            why = ignored + kNotDrawable;
            return -1;
        }
        why = ignored + "the screen has no such visual";
        return -1;
    }
    default:
        break;
    }
    int chosen = -1;
    bool matched = false;
    for (size_t i = 0; i < count; ++i) {
        if (!VisualMatches(options, offers[i].visualClass, offers[i].depth) || offers[i].depth > 24)
            continue;
        matched = true;
        if (offers[i].drawable && (chosen < 0 || offers[i].depth > offers[chosen].depth))
            chosen = static_cast<int>(i);
    }
    if (chosen < 0)
        why = ignored + (matched ? kNotDrawable : "the screen has no such visual");
    return chosen;
}

const char* HackUsage()
{
    return "usage: morrowmere [-root | -window | -fullscreen | -window-id ID] [-fps | -no-fps]\n"
           "                  [-sound | -no-sound] [-no-battery-cap | -battery-cap] [-delay US]\n"
           "                  [-scale S] [-x11] [-display DPY] [-visual V] [-h]\n"
           "  -root          draw on the root window (or on XSCREENSAVER_WINDOW when it is set)\n"
           "  -window        draw in a window of its own, 1280 x 720; q or Escape closes it\n"
           "  -fullscreen    draw over the whole screen, without the pointer; a key, a click or a mouse\n"
           "                 move ends it (for idle daemons and desktops without XScreenSaver)\n"
           "  -window-id ID  draw in an existing window (0x hex or decimal)\n"
           "  -x11           full screen on a Wayland session, run through XWayland instead of as a\n"
           "                 Wayland client\n"
           "  -fps           show the frame rate in the top-left corner for this run; -no-fps hides it\n"
           "  -no-sound      keep silent; -sound plays the ambient loop and the wings (either wins over\n"
           "                 EnableSound in the settings, which is 1, play, by default)\n"
           "  -no-battery-cap  draw as many frames on battery as on mains power; -battery-cap draws at\n"
           "                 most 30 a second on battery (either wins over BatteryFrameCap in the\n"
           "                 settings, which is 1, capped, by default)\n"
           "  -delay US      rest this many microseconds after each frame (default 20000; 0 for none);\n"
           "                 the Wayland client follows the compositor's refresh, and with -delay\n"
           "                 starts a frame at most once every US\n"
           "  -scale S       draw the scene at S times the window's resolution, 0.25 to 1, and scale it\n"
           "                 up: lighter on a slow machine, less sharp (default: RenderScale in the\n"
           "                 settings, a percentage, 100 unless changed)\n"
           "  -display DPY   the X display to use instead of $DISPLAY (with -fullscreen, also on a\n"
           "                 Wayland session)\n"
           "  -visual V      the visual of its own window: default, best, color, truecolor, GL... or\n"
           "                 an id; ignored, with a line on stderr, when OpenGL cannot draw on it\n"
           "  -install, -noinstall, -mono, -pair   taken, as XScreenSaver gives them, without effect\n"
           "  -h, --help     show this text\n"
           "Without -root, -window, -fullscreen or -window-id it uses XSCREENSAVER_WINDOW when set,\n"
           "else its own window. Without a sound output it runs silently. Settings:\n"
           "$XDG_CONFIG_HOME/Tovrelin/Morrowmere screen saver.conf; run log:\n"
           "$XDG_STATE_HOME/morrowmere/morrowmere.log.\n";
}
