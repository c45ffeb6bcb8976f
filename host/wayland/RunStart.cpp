// The render thread's start, once the compositor has given the scene's surface a size (Outputs.cpp
// says when): kept apart from the registry and the loop, which call the outputs' code.

#include "base/RunLog.h"
#include "base/SaverFrame.h"
#include "host/linux/Host.h"
#include "host/SaverPlatform.h"
#include "host/wayland/Shared.h"

void StartTheRun()
{
    if (g_host.started)
        return;
    Log().Record(kLogNotify, "Run looping thread");
    g_host.run.frame.window = &g_host.target;
    g_host.started = StartRenderThread(g_host.renderThread, g_host.run);
    if (!g_host.started) {
        Log().RecordAndKeep(kLogNotify, "Error of common initialization", "Error of initialization");
        SignalDoneEvent(g_host.run.frame.doneEvent);
        Wake(kWakeFailedStart);
    }
}
