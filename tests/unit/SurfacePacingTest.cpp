#include <gtest/gtest.h>

#include "gfx/SurfacePacing.h"

#include <vector>

namespace {
// The scene's window first, then the covers.
struct Surfaces {
    std::vector<SurfacePace> surfaces;
    explicit Surfaces(size_t count) : surfaces(count) {}
    std::vector<const SurfacePace*> Each() const
    {
        std::vector<const SurfacePace*> each;
        for (const SurfacePace& surface : surfaces)
            each.push_back(&surface);
        return each;
    }
    bool Due(uint32_t now, int& waitMs) const
    {
        const std::vector<const SurfacePace*> each = Each();
        return FrameDue(each.data(), each.size(), now, waitMs);
    }
    int Clock(uint32_t now) const
    {
        const std::vector<const SurfacePace*> each = Each();
        return PaceClock(each.data(), each.size(), now);
    }
};
} // namespace

TEST(SurfacePacing, OneClockPacesTheSceneAndAHiddenWindowHandsItOn)
{
    Surfaces run(2);
    int wait = 0;
    EXPECT_TRUE(run.Due(0, wait)) << "the first frame";
    run.surfaces[0].Shown(0);
    run.surfaces[1].Shown(0);
    // The cover's output refreshes first: its picture waits for the window's refresh.
    run.surfaces[1].Answered(5);
    EXPECT_FALSE(run.Due(6, wait));
    EXPECT_EQ(wait, static_cast<int>(kHiddenMs) + 1 - 6);
    run.surfaces[0].Answered(16);
    EXPECT_TRUE(run.Due(16, wait));
    run.surfaces[0].Shown(16);
    run.surfaces[1].Shown(16);
    run.surfaces[1].Answered(21);
    // The window's output shows another workspace: no callback comes, and the cover takes over.
    EXPECT_FALSE(run.Due(16 + kHiddenMs, wait));
    EXPECT_TRUE(run.Due(17 + kHiddenMs, wait));
    EXPECT_EQ(run.Clock(17 + kHiddenMs), 1);
    // A late answer does not make the window the clock again; a prompt one does.
    run.surfaces[0].Answered(1000);
    run.surfaces[1].Shown(1000);
    run.surfaces[0].Shown(1000);
    EXPECT_EQ(run.Clock(1001), 1);
    run.surfaces[0].Answered(1010);
    EXPECT_EQ(run.Clock(1011), 0);
}

TEST(SurfacePacing, SurfacesThatCannotBeDrawnNeverKeepTheThreadAwake)
{
    Surfaces run(3);
    run.surfaces[1].Break();
    run.surfaces[0].Shown(0);
    run.surfaces[2].Shown(0);
    int wait = 0;
    // A broken cover counts for nothing; the others' callbacks turn late, then only events wake.
    EXPECT_FALSE(run.Due(10, wait));
    EXPECT_FALSE(run.Due(kHiddenMs + 1, wait));
    EXPECT_EQ(wait, -1);
    // Nothing shown anywhere: the first surface that asks sets the pace.
    run.surfaces[2].Answered(2000);
    EXPECT_TRUE(run.Due(2000, wait));

    // A picture that could not be shown brings no callback: tried again later, not at once.
    Surfaces unshown(1);
    unshown.surfaces[0].ShowFailed(100);
    EXPECT_FALSE(unshown.Due(101, wait));
    EXPECT_EQ(wait, static_cast<int>(kRetryMs) - 1);
    EXPECT_TRUE(unshown.Due(100 + kRetryMs, wait));
}

TEST(SurfacePacing, WithoutTheCompositorsWordOnFramesACallbackIsTheSignOfBeingShown)
{
    Surfaces surfaces(2);
    const std::vector<const SurfacePace*> each = surfaces.Each();
    int wait = 0;
    // Counted from the start while no surface has answered yet.
    EXPECT_FALSE(SceneUnseen(each.data(), each.size(), 100, 100 + kUnseenMs - 1, wait));
    EXPECT_EQ(wait, 1);
    EXPECT_TRUE(SceneUnseen(each.data(), each.size(), 100, 100 + kUnseenMs, wait));
    // The latest callback of any surface counts.
    surfaces.surfaces[0].Answered(500);
    surfaces.surfaces[1].Answered(2000);
    EXPECT_FALSE(SceneUnseen(each.data(), each.size(), 100, 2000 + kUnseenMs - 1, wait));
    EXPECT_TRUE(SceneUnseen(each.data(), each.size(), 100, 2000 + kUnseenMs, wait));
}

TEST(SurfacePacing, OnceTheCompositorHasToldOfAFramePresentedOnlyThatIsSeen)
{
    int wait = 0;
    // Hidden, and throttled to a callback a second whose frames are never presented: unseen two
    // seconds after the last frame presented, and it stays so, whatever the callbacks.
    Surfaces hidden(1);
    const std::vector<const SurfacePace*> each = hidden.Each();
    hidden.surfaces[0].Presented(1000);
    for (uint32_t now = 1000; now <= 12000; now += 995) {
        hidden.surfaces[0].Shown(now);
        hidden.surfaces[0].Answered(now + 995);
        EXPECT_EQ(SceneUnseen(each.data(), each.size(), 0, now + 995, wait), now + 995 >= 1000 + kUnseenMs);
    }
    hidden.surfaces[0].Presented(12100);
    EXPECT_FALSE(SceneUnseen(each.data(), each.size(), 0, 12100, wait));
    // Shown on a compositor that holds each callback back 1.5 s, and presents every frame.
    Surfaces slow(1);
    const std::vector<const SurfacePace*> one = slow.Each();
    for (uint32_t now = 0; now <= 12000; now += 1500) {
        slow.surfaces[0].Shown(now);
        slow.surfaces[0].Presented(now + 16);
        EXPECT_FALSE(SceneUnseen(one.data(), one.size(), 0, now + 1500, wait));
    }
}

TEST(SurfacePacing, TicksPastHalfTheirRangeCompareRightWithASurfaceThatNeverAnswered)
{
    // 24.9 days after boot the tick passes 2^31; the second surface has never had a callback.
    Surfaces surfaces(2);
    const std::vector<const SurfacePace*> each = surfaces.Each();
    const uint32_t start = 0x80000100u;
    int wait = 0;
    surfaces.surfaces[0].Answered(start + 100);
    EXPECT_FALSE(SceneUnseen(each.data(), each.size(), start, start + 100 + kUnseenMs - 1, wait));
    EXPECT_TRUE(SceneUnseen(each.data(), each.size(), start, start + 100 + kUnseenMs, wait));
    // And across the wrap of the tick itself.
    surfaces.surfaces[0].Answered(0xFFFFFF00u);
    EXPECT_FALSE(SceneUnseen(each.data(), each.size(), start, 0xFFFFFF00u + kUnseenMs - 1, wait));
    EXPECT_TRUE(SceneUnseen(each.data(), each.size(), start, 0xFFFFFF00u + kUnseenMs, wait));
}
