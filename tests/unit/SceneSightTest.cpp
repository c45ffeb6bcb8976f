#include <gtest/gtest.h>

#include "host/x11/SceneSight.h"

#include <X11/extensions/dpmsconst.h>

namespace {
constexpr unsigned long kWindow = 0x200001;
constexpr unsigned long kCover = 0x200002;
constexpr unsigned long kOther = 0x400001;
} // namespace

TEST(SceneSight, SeenWhileOneWindowOfTheRunShows)
{
    SceneSight sight;
    sight.Count(kWindow, true);
    sight.Count(kCover, true);
    EXPECT_TRUE(sight.Seen()) << "both windows just mapped";
    sight.FullyCovered(kWindow, true);
    EXPECT_TRUE(sight.Seen()) << "the cover still shows";
    sight.FullyCovered(kCover, true);
    EXPECT_FALSE(sight.Seen()) << "both fully covered";
    // Another program's window (XScreenSaver's, say) changes nothing.
    sight.Mapped(kOther, true);
    sight.FullyCovered(kOther, false);
    EXPECT_FALSE(sight.Seen());
    // Unmapped and mapped again, the cover shows until the server says how covered it is.
    sight.Mapped(kCover, false);
    EXPECT_FALSE(sight.Seen());
    sight.Mapped(kCover, true);
    EXPECT_TRUE(sight.Seen());
    sight.Mapped(kCover, false);
    EXPECT_FALSE(sight.Seen()) << "one covered, one unmapped";
    sight.FullyCovered(kWindow, false);
    EXPECT_TRUE(sight.Seen()) << "the window partly shows again";
}

TEST(SceneSight, ACoverNoLongerInUseDoesNotCount)
{
    SceneSight sight;
    sight.Count(kWindow, true);
    sight.Count(kCover, true);
    sight.FullyCovered(kWindow, true);
    EXPECT_TRUE(sight.Seen());
    // Its monitor went away: the picture is no longer copied to it, also before the server tells
    // of its unmapping.
    sight.Count(kCover, false);
    EXPECT_FALSE(sight.Seen());
    sight.Mapped(kCover, false);
    EXPECT_FALSE(sight.Seen());
    // Back in use, mapped and raised: shown, whatever it was told before.
    sight.Count(kCover, true);
    EXPECT_TRUE(sight.Seen());
}

TEST(SceneSight, MonitorsNotOnShowNothingWhateverTheWindows)
{
    SceneSight sight;
    sight.Count(kWindow, true);
    for (const unsigned dark : {DPMSModeStandby, DPMSModeSuspend, DPMSModeOff}) {
        sight.MonitorsPower(true, dark);
        EXPECT_FALSE(sight.Seen()) << "power level " << dark;
        sight.MonitorsPower(true, DPMSModeOn);
        EXPECT_TRUE(sight.Seen()) << "on again after " << dark;
    }
    // With DPMS disabled, the level says nothing of the monitors.
    sight.MonitorsPower(false, DPMSModeOff);
    EXPECT_TRUE(sight.Seen());
}

TEST(SceneSight, UnderTheDaemonOnlyTheMonitorsCount)
{
    // No window of the run counts: the daemon's window, mapped or not, is its own business.
    SceneSight sight;
    sight.Mapped(kOther, false);
    sight.FullyCovered(kOther, true);
    EXPECT_TRUE(sight.Seen());
    sight.MonitorsPower(true, DPMSModeOff);
    EXPECT_FALSE(sight.Seen());
    sight.MonitorsPower(true, DPMSModeOn);
    EXPECT_TRUE(sight.Seen());
}

TEST(SceneSight, HiddenOnlyWhenWindowsAboveLeaveNothingShowing)
{
    const ScreenBox own{0, 0, 1024, 768};
    EXPECT_TRUE(BoxCovered(own, {{0, 0, 1024, 768}}));
    EXPECT_TRUE(BoxCovered(own, {{-10, -10, 2000, 2000}})) << "a bigger window, its border included";
    EXPECT_TRUE(BoxCovered(own, {{0, 0, 600, 768}, {600, 0, 424, 400}, {500, 400, 524, 368}})) << "three together";
    EXPECT_FALSE(BoxCovered(own, {{0, 0, 600, 768}, {601, 0, 423, 768}})) << "a column of pixels between";
    EXPECT_FALSE(BoxCovered(own, {{0, 0, 1024, 767}})) << "the last row shows";
    EXPECT_FALSE(BoxCovered(own, {{2000, 0, 100, 100}})) << "on another monitor";
    EXPECT_FALSE(BoxCovered(own, {}));
    SceneSight sight;
    sight.Count(kWindow, true);
    sight.HiddenByStacking(kWindow, true);
    EXPECT_FALSE(sight.Seen()) << "hidden under another program's windows, or minimised";
    sight.HiddenByStacking(kWindow, false);
    EXPECT_TRUE(sight.Seen());
}
