#include "host/linux/HackOptions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <vector>

namespace {
HackOptions Read(std::vector<const char*> args, const char* screensaverWindow = nullptr)
{
    args.insert(args.begin(), "morrowmere");
    return ReadHackOptions(static_cast<int>(args.size()), args.data(), screensaverWindow);
}
} // namespace

TEST(HackOptions, ChoosesTheWindowToDrawOn)
{
    EXPECT_EQ(Read({}).target, HackTarget::OwnWindow);
    EXPECT_EQ(Read({"-window"}).target, HackTarget::OwnWindow);
    EXPECT_EQ(Read({"-root"}).target, HackTarget::Root);

    const HackOptions byId = Read({"-window-id", "0x2a00007"});
    EXPECT_EQ(byId.target, HackTarget::ExistingWindow);
    EXPECT_EQ(byId.windowId, 0x2a00007u);
    EXPECT_EQ(Read({"-window-id", "44040199"}).windowId, 44040199u);

    // The last choice wins.
    EXPECT_EQ(Read({"-window-id", "5", "-root"}).target, HackTarget::Root);
    EXPECT_EQ(Read({"-root", "-window"}).target, HackTarget::OwnWindow);
}

TEST(HackOptions, XScreenSaverWindowServesRootAndTheDefaultButNotAnExplicitChoice)
{
    for (const HackOptions& options : {Read({"-root"}, "0x400001"), Read({}, "0x400001")}) {
        EXPECT_EQ(options.target, HackTarget::ExistingWindow);
        EXPECT_EQ(options.windowId, 0x400001u);
    }
    EXPECT_EQ(Read({"-window"}, "0x400001").target, HackTarget::OwnWindow);
    EXPECT_EQ(Read({"-window-id", "7"}, "0x400001").windowId, 7u);
    EXPECT_FALSE(Read({"-root"}, "junk").error.empty());
    // Not consulted when an explicit choice makes it irrelevant.
    EXPECT_TRUE(Read({"-window"}, "junk").error.empty());
}

TEST(HackOptions, SwitchesAndRefusals)
{
    EXPECT_TRUE(Read({"-fps"}).fps);
    EXPECT_FALSE(Read({}).fps);
    EXPECT_TRUE(Read({"-h"}).help);
    EXPECT_TRUE(Read({"--help"}).help);
    // XScreenSaver's own lists spell every option with two dashes.
    EXPECT_EQ(Read({"--root", "--delay", "7"}).target, HackTarget::Root);
    EXPECT_EQ(7u, Read({"--root", "--delay", "7"}).delayMicroseconds);
    EXPECT_EQ(Read({"--"}).error, "unknown option: --");
    EXPECT_EQ(Read({"---root"}).error, "unknown option: ---root");

    EXPECT_EQ(Read({"-bogus"}).error, "unknown option: -bogus");
    EXPECT_EQ(Read({"-window-id"}).error, "-window-id needs a window id");
    EXPECT_EQ(Read({"-window-id", "0x"}).error, "not a window id: 0x");
    EXPECT_EQ(Read({"root"}).error, "unknown option: root");

    // Microseconds of rest per frame: 20000 unless given, 0 to ten seconds.
    EXPECT_EQ(20000u, Read({}).delayMicroseconds);
    EXPECT_FALSE(Read({}).delayGiven);
    EXPECT_TRUE(Read({"-delay", "20000"}).delayGiven);
    EXPECT_EQ(0u, Read({"-delay", "0"}).delayMicroseconds);
    EXPECT_EQ(10000000u, Read({"-delay", "10000000"}).delayMicroseconds);
    for (const char* bad : {"10000001", "-5", "1e4", "", "4294967297"})
        EXPECT_EQ(std::string("not a delay from 0 to 10000000 microseconds: ") + bad, Read({"-delay", bad}).error);
    EXPECT_EQ("-delay needs microseconds", Read({"-delay"}).error);

    // The render scale: 0 (the stored setting) unless given, then 0.25 to 1 as sliders write it.
    EXPECT_EQ(0.0, Read({}).scale);
    EXPECT_EQ(0.25, Read({"-scale", "0.25"}).scale);
    EXPECT_EQ(1.0, Read({"--scale", "1.000000"}).scale);
    EXPECT_EQ(0.5, Read({"-scale", ".5"}).scale);
    EXPECT_EQ(0.333333, Read({"-scale", "0.333333"}).scale);
    for (const char* bad : {"0.249999", "1.000001", "2", "0", "-0.5", "0.5x", "5e-1", ".", "", "0,5", "0.3333333"})
        EXPECT_EQ(std::string("not a scale from 0.25 to 1: ") + bad, Read({"-scale", bad}).error);
    EXPECT_EQ("-scale needs a number", Read({"-scale"}).error);
}

TEST(HackOptions, TheBatteryCapSwitchesLastOneWins)
{
    // Neither given: the stored BatteryFrameCap holds.
    EXPECT_FALSE(Read({}).batteryCapGiven);
    EXPECT_FALSE(Read({"-no-sound"}).batteryCapGiven);
    const struct {
        std::vector<const char*> args;
        bool cap;
    } rows[] = {
        {{"-no-battery-cap"}, false},
        {{"--battery-cap"}, true},
        {{"-battery-cap", "-no-battery-cap"}, false},
        {{"--no-battery-cap", "-fps", "-battery-cap"}, true},
    };
    for (const auto& row : rows) {
        const HackOptions options = Read(row.args);
        EXPECT_EQ("", options.error) << row.args[0];
        EXPECT_TRUE(options.batteryCapGiven) << row.args[0];
        EXPECT_EQ(row.cap, options.batteryCap) << row.args[0];
    }
    EXPECT_EQ("unknown option: -nobattery-cap", Read({"-nobattery-cap"}).error);
}

// XScreenSaver's options common to every hack: each row with what it leaves in the options, or
// its refusal. A row whose option were no longer taken would read "unknown option".
TEST(HackOptions, TakesXScreenSaversCommonOptions)
{
    using V = VisualRequest;
    constexpr int stored = -1; // neither -fps nor -no-fps
    const struct {
        std::vector<const char*> args;
        int fps;
        std::string display;
        VisualRequest visual;
        int visualClass;
        uint32_t visualId;
        std::string error;
    } rows[] = {
        {{"-no-fps"}, 0, "", V::Unset, 0, 0, ""},
        {{"-fps", "--no-fps"}, 0, "", V::Unset, 0, 0, ""},
        {{"-no-fps", "-fps"}, 1, "", V::Unset, 0, 0, ""},
        {{"-display", "otherhost:1.0"}, stored, "otherhost:1.0", V::Unset, 0, 0, ""},
        {{"--display", ":7", "-display", ":8"}, stored, ":8", V::Unset, 0, 0, ""},
        {{"-visual", "GL"}, stored, "", V::GL, 0, 0, ""},
        {{"-visual", "Default"}, stored, "", V::Default, 0, 0, ""},
        {{"-visual", "colour"}, stored, "", V::Color, 0, 0, ""},
        {{"-visual", "grey"}, stored, "", V::Gray, 0, 0, ""},
        {{"-visual", "TrueColor"}, stored, "", V::Class, 4, 0, ""},
        {{"-visual", "directcolor"}, stored, "", V::Class, 5, 0, ""},
        {{"-visual", "GreyScale"}, stored, "", V::Class, 1, 0, ""},
        {{"-visual", "0x21"}, stored, "", V::Id, 0, 0x21, ""},
        {{"--visual", "33"}, stored, "", V::Id, 0, 33, ""},
        // Not a visual: ignored when the window is made, as XScreenSaver's hacks do.
        {{"-visual", "purple"}, stored, "", V::Unknown, 0, 0, ""},
        {{"-install"}, stored, "", V::Unset, 0, 0, ""},
        {{"--noinstall"}, stored, "", V::Unset, 0, 0, ""},
        {{"-mono"}, stored, "", V::Unset, 0, 0, ""},
        {{"-pair"}, stored, "", V::Unset, 0, 0, ""},
        {{"-display"}, stored, "", V::Unset, 0, 0, "-display needs a display name"},
        {{"-visual"}, stored, "", V::Unset, 0, 0, "-visual needs a visual name or id"},
        {{"-no-fps", "-nofps"}, 0, "", V::Unset, 0, 0, "unknown option: -nofps"},
    };
    for (const auto& row : rows) {
        const HackOptions options = Read(row.args);
        const std::string what = std::string(row.args[0]) + " " + (row.args.size() > 1 ? row.args[1] : "");
        EXPECT_EQ(row.error, options.error) << what;
        EXPECT_EQ(row.fps, options.fpsGiven ? int{options.fps} : stored) << what;
        EXPECT_EQ(row.display, options.display) << what;
        EXPECT_EQ(row.visual, options.visual) << what;
        EXPECT_EQ(row.visualClass, options.visualClass) << what;
        EXPECT_EQ(row.visualId, options.visualId) << what;
    }
}

TEST(HackOptions, AVisualIsChosenOnlyWhereOpenGLCanDrawTheScene)
{
    // A screen like a virtual server's: the default TrueColor 24 without double buffering,
    // drawable TrueColor 16 and 24 and an ARGB 32, a DirectColor 24 that is not, and no grey ones.
    const VisualOffer screen[] = {
        {0x21, 4, 24, false}, {0x22, 4, 16, true}, {0x23, 4, 24, true}, {0x24, 5, 24, false}, {0x40, 4, 32, true},
    };
    const auto choose = [&](std::vector<const char*> args) {
        args.insert(args.begin(), "-window");
        std::string why;
        const int chosen = ChooseVisual(Read(args), screen, std::size(screen), 0x21, why);
        if (chosen < 0)
            return why.empty() ? std::string("own choice") : why;
        char id[16];
        std::snprintf(id, sizeof id, "0x%x", screen[chosen].id);
        return std::string(id);
    };
    EXPECT_EQ("own choice", choose({}));
    EXPECT_EQ("own choice", choose({"-visual", "gl"}));
    EXPECT_EQ("0x23", choose({"-visual", "0x23"}));
    EXPECT_EQ("0x40", choose({"-visual", "64"}));
    // The deepest drawable one of the kind, never deeper than 24 bits.
    for (const char* kind : {"best", "color", "TrueColor"})
        EXPECT_EQ("0x23", choose({"-visual", kind})) << kind;
    const std::string cannot = " is ignored: OpenGL cannot draw the scene on it (it needs RGBA, double buffering and depth)";
    EXPECT_EQ("-visual default" + cannot, choose({"-visual", "default"}));
    EXPECT_EQ("-visual 0x24" + cannot, choose({"-visual", "0x24"}));
    EXPECT_EQ("-visual directcolor" + cannot, choose({"-visual", "directcolor"}));
    for (const char* missing : {"mono", "gray", "PseudoColor", "0x99"})
        EXPECT_EQ(std::string("-visual ") + missing + " is ignored: the screen has no such visual",
                  choose({"-visual", missing}));
    EXPECT_EQ("-visual purple is ignored: not a visual class (default, best, mono, gray, color, GL, truecolor...) nor "
              "a visual id",
              choose({"-visual", "purple"}));
}

TEST(HackOptions, WindowIdsAreHexWithPrefixOrDecimalNonZeroAndWithin32Bits)
{
    uint32_t id = 99;
    EXPECT_TRUE(ParseWindowId("0XABCdef", id));
    EXPECT_EQ(id, 0xabcdefu);
    EXPECT_TRUE(ParseWindowId("4294967295", id));
    EXPECT_EQ(id, 0xFFFFFFFFu);
    // A leading zero is decimal, not octal.
    EXPECT_TRUE(ParseWindowId("010", id));
    EXPECT_EQ(id, 10u);

    id = 99;
    for (const char* bad : {"", "0", "0x0", "4294967296", "0x100000000", "99999999999999999999999", "12ab", "-5",
                            " 5", "5 ", "0x", "ff"})
        EXPECT_FALSE(ParseWindowId(bad, id)) << bad;
    EXPECT_FALSE(ParseWindowId(nullptr, id));
    EXPECT_EQ(id, 99u);
}

TEST(HackOptions, OnlyFullScreenOnAWaylandSessionGoesToTheWaylandClient)
{
    EXPECT_TRUE(UsesWaylandClient(Read({"-fullscreen"}), "wayland-1"));
    EXPECT_TRUE(UsesWaylandClient(Read({"--fullscreen", "-fps"}), "wayland-1"));
    EXPECT_FALSE(UsesWaylandClient(Read({"-fullscreen", "-x11"}), "wayland-1"));
    // -display names an X display.
    EXPECT_FALSE(UsesWaylandClient(Read({"-fullscreen", "-display", ":1"}), "wayland-1"));
    EXPECT_FALSE(UsesWaylandClient(Read({"-fullscreen"}), nullptr));
    EXPECT_FALSE(UsesWaylandClient(Read({"-fullscreen"}), ""));
    // A lock screen's connection, without a session's display name.
    EXPECT_TRUE(UsesWaylandClient(Read({"-fullscreen"}), nullptr, "3"));
    EXPECT_FALSE(UsesWaylandClient(Read({"-fullscreen", "-x11"}), nullptr, "3"));
    EXPECT_FALSE(UsesWaylandClient(Read({"-fullscreen"}), "", ""));
    // XScreenSaver's hacks stay X clients: it runs them on X windows.
    EXPECT_FALSE(UsesWaylandClient(Read({"-root"}), "wayland-1"));
    EXPECT_FALSE(UsesWaylandClient(Read({"-window"}), "wayland-1"));
}
