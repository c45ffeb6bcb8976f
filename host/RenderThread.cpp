#include "host/RenderThread.h"

#include "MorrowmereVersion.h"

#include "base/FrameCap.h"
#include "base/RenderScale.h"
#include "base/RunLog.h"
#include "base/SettingsStore.h"
#include "host/FrameRateCounter.h"
#include "host/FrameRateOverlay.h"
#include "host/ProcessGlobals.h"
#include "host/SaverPlatform.h"

#include "gfx/DrawingState.h"
#include "gfx/GlContext.h"
#include "gfx/ScaledDrawing.h"
#include "host/VideoInit.h"
#include "scene/Scene.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

namespace {
// In the top-left corner of the primary monitor, also when the picture spans several.
void DrawOverlay(const FrameState& frame)
{
    int32_t screenWidth = 0, screenHeight = 0;
    GlScreenSize(frame, screenWidth, screenHeight);
    int32_t corner[4], area[4];
    GlOverlayViewport(frame, corner);
    std::copy(Drawing().viewport, Drawing().viewport + 4, area);
    const bool moved = !std::equal(corner, corner + 4, area);
    if (moved)
        SetViewport(corner[0], corner[1], corner[2], corner[3]);
    DrawFrameRateOverlay(FrameRate().Measure(TickCount()), screenWidth, screenHeight);
    if (moved)
        SetViewport(area[0], area[1], area[2], area[3]);
}

// The scene goes on from the moment it paused, as if no time had passed (the creature and the
// sparks do not leap), and the frame rate counts shown time only.
void GoOnAfterPause(FrameClock& clock)
{
    clock.previousTick = TickCount();
    FrameRate().Resumed(clock.previousTick);
}

// While the window thread says nothing shows the scene, nothing is drawn: the thread sleeps until
// it is seen again or the run ends.
void WaitWhileUnseen(FrameState& frame, FrameClock& clock)
{
    std::unique_lock<std::mutex> lock(frame.seenLock);
    if (!frame.unseen || frame.stopFlag != 0)
        return;
    lock.unlock();
    if (frame.seenChanged != nullptr)
        frame.seenChanged(frame, false);
    lock.lock();
    frame.seenWake.wait(lock, [&frame] { return !frame.unseen || frame.stopFlag != 0; });
    const bool seen = !frame.unseen;
    lock.unlock();
    if (!seen)
        return;
    GoOnAfterPause(clock);
    if (frame.seenChanged != nullptr)
        frame.seenChanged(frame, true);
}

// On battery, a frame starts no sooner than the cap allows.
void RestForCap(const FrameState& frame, FrameCap& cap)
{
    using Clock = std::chrono::steady_clock;
    const uint32_t period = frame.capMicroseconds;
    const auto due = Clock::time_point(std::chrono::microseconds(cap.Due(period)));
    if (period != 0 && Clock::now() < due)
        std::this_thread::sleep_until(due);
    const auto now = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch());
    cap.Started(static_cast<uint64_t>(now.count()), period);
}

// The host's scale, else the stored one. A stored value out of range is said so and not used;
// a scale below 1 is said too, since it changes the picture.
double RunScale(const RenderRun& run)
{
    double scale = 1.0;
    if (run.renderScale > 0.0) {
        scale = run.renderScale;
    } else {
        int32_t percent = kRenderScaleFullPercent;
        Settings().Get("RenderScale", percent);
        if (!RenderScaleFromPercent(percent, scale)) {
            const std::string why = "RenderScale " + std::to_string(percent) +
                                    " is not from 25 to 100: the scene is drawn at full resolution";
            Log().Record(kLogError, why.c_str());
        }
    }
    if (scale < 1.0)
        Log().RecordNumber(kLogNotify, "The scene is drawn at %g of the window's resolution", scale);
    return scale;
}
} // namespace

uint32_t RenderThreadMain(RenderRun& run)
{
    FrameState& frame = run.frame;
    RunLog& log = Log();
    log.Record(kLogNotify, "Morrowmere screen saver. v" MORROWMERE_VERSION_SHORT);
    int32_t enableFps = 0;
    Settings().Get("EnableFPS", enableFps);
    const bool overlay = enableFps > 0;
    // Sampled before start-up, so the first frame's elapsed time covers the whole start-up.
    FrameClock clock;
    clock.previousTick = TickCount();
    clock.elapsed = static_cast<int32_t>(clock.previousTick);
    log.Record(kLogNotify, "Start common initialization");

    if (InitializeVideo(frame, SaverVideoStart(run.sound)) != 0) {
        log.RecordAndKeep(kLogNotify, "Error of common initialization", "Error of initialization");
    } else {
        // Named once started, so that the threads the start-up's sound device and renderer made
        // keep the program's name, and this one shows as the one that draws the frames.
        NameThisThread("render");
        ScaledDrawing scaled(RunScale(run));
        FrameCap cap;
        while (frame.stopFlag == 0) {
            WaitWhileUnseen(frame, clock);
            if (frame.stopFlag != 0)
                break;
            if (!frame.pacedBySurface)
                RestForCap(frame, cap);
            const uint32_t now = TickCount();
            clock.elapsed = static_cast<int32_t>(now - clock.previousTick);
            clock.previousTick = now;
            GlFitDrawingArea(frame);
            scaled.Begin();
            StepScene(clock);
            scaled.End(!GlDrawingAreaFillsWindow(frame));
            GlCopyToOtherMonitors(frame);
            if (frame.pausedInWait)
                GoOnAfterPause(clock);
            frame.pausedInWait = false;
            if (overlay)
                DrawOverlay(frame);
            GlSwapBuffers(frame);
            PaceFrame(run.restMicroseconds);
        }
    }

    log.Record(kLogNotify, "Start common uninstall");
    ReleaseVideo(frame);
    log.Record(kLogNotify, "Common uninstall has finished properly");
    SignalDoneEvent(frame.doneEvent);
    if (frame.stopFlag == 0)
        SendFailedStart(frame.window);
    return 0;
}
