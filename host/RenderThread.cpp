#include "host/RenderThread.h"

#include "MorrowmereVersion.h"

#include "base/RunLog.h"
#include "base/SettingsStore.h"
#include "host/FrameRateCounter.h"
#include "host/FrameRateOverlay.h"
#include "host/ProcessGlobals.h"
#include "host/SaverPlatform.h"

#include "gfx/GlContext.h"
#include "host/VideoInit.h"
#include "scene/Scene.h"

namespace {
void DrawOverlay(const FrameState& frame)
{
    int32_t screenWidth = 0, screenHeight = 0;
    GlScreenSize(frame, screenWidth, screenHeight);
    DrawFrameRateOverlay(FrameRate().Measure(TickCount()), screenWidth, screenHeight);
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
        while (frame.stopFlag == 0) {
            const uint32_t now = TickCount();
            clock.elapsed = static_cast<int32_t>(now - clock.previousTick);
            clock.previousTick = now;
            GlFitDrawingArea(frame);
            StepScene(clock);
            GlCopyToOtherMonitors(frame);
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
