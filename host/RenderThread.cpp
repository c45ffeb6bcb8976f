#include "host/RenderThread.h"

#include "MorrowmereVersion.h"

#include "base/ProcessGlobals.h"
#include "base/RunLog.h"
#include "base/SaverFrame.h"
#include "base/SettingsStore.h"
#include "host/FrameRateCounter.h"
#include "host/FrameRateOverlay.h"
#include "host/SaverPlatform.h"

#include "gfx/GlContext.h"
#include "host/VideoInit.h"
#include "scene/Scene.h"

FrameState g_frame;

namespace {
void DrawOverlay()
{
    int32_t screenWidth = 0, screenHeight = 0;
    GlScreenSize(g_frame, screenWidth, screenHeight);
    DrawFrameRateOverlay(FrameRate().Measure(TickCount()), screenWidth, screenHeight);
}
} // namespace

uint32_t RenderThreadMain(void* window)
{
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

    if (InitializeVideo(window, SaverVideoStart()) != 0) {
        log.RecordAndKeep(kLogNotify, "Error of common initialization", "Error of initialization");
    } else {
        while (g_frame.stopFlag == 0) {
            const uint32_t now = TickCount();
            clock.elapsed = static_cast<int32_t>(now - clock.previousTick);
            clock.previousTick = now;
            GlFitDrawingArea(g_frame);
            StepScene(clock);
            GlCopyToOtherMonitors(g_frame);
            if (overlay)
                DrawOverlay();
            GlSwapBuffers(g_frame);
            PaceFrame();
        }
    }

    log.Record(kLogNotify, "Start common uninstall");
    ReleaseVideo();
    log.Record(kLogNotify, "Common uninstall has finished properly");
    SignalDoneEvent(g_frame.doneEvent);
    if (g_frame.stopFlag == 0)
        SendFailedStart(window);
    return 0;
}
