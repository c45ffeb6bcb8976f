#include "host/linux/Host.h"

#include "base/RunLog.h"
#include "base/SaverFrame.h"
#include "base/SettingsStore.h"
#include "sound/SoundManager.h"
#include "host/ProcessGlobals.h"
#include "host/SaverPlatform.h"
#include "host/VideoInit.h"

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {
volatile sig_atomic_t g_orderlyEnd = 0;
// The first signal that came: one that comes while stale wake-ups are dropped still ends the run.
volatile sig_atomic_t g_signalled = 0;

void OnSignal(int signal)
{
    if (!g_orderlyEnd) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    if (g_signalled == 0)
        g_signalled = signal;
    Wake(kWakeSignal);
}

void* RenderThreadEntry(void* run)
{
    RenderThreadMain(*static_cast<RenderRun*>(run));
    return nullptr;
}
} // namespace

void DropStaleWakeUps()
{
    char stale[16];
    while (read(WakePipeToRead(), stale, sizeof stale) > 0) {
    }
    if (g_signalled)
        Wake(kWakeSignal);
}

void CatchEndSignals()
{
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

void BeginOrderlyEnd()
{
    g_orderlyEnd = 1;
}

int EndingSignal()
{
    return g_signalled;
}

void EndBySignalIfOne()
{
    if (g_signalled == 0)
        return;
    std::fflush(nullptr);
    std::signal(g_signalled, SIG_DFL);
    std::raise(g_signalled);
}

void QuietWhileUnseen(FrameState& frame, bool seen)
{
    Log().Record(kLogNotify, seen ? "The scene is seen again: sound and frames go on"
                                  : "Nothing shows the scene: sound and frames pause");
    if (frame.soundManager != nullptr)
        frame.soundManager->PauseDevice(!seen);
}

void TakeHackOptions(const HackOptions& options, RenderRun& run)
{
    if (options.fpsGiven)
        Settings().Set("EnableFPS", options.fps ? 1 : 0);
    if (options.batteryCapGiven)
        Settings().Set("BatteryFrameCap", options.batteryCap ? 1 : 0);
    if (options.soundGiven) {
        run.sound.wanted = options.sound;
        run.sound.whyNot = "-no-sound was given";
    } else {
        run.sound = StoredSoundChoice();
    }
    run.restMicroseconds = options.delayMicroseconds;
    run.renderScale = options.scale;
}

bool StartThreadWithoutSignals(pthread_t& thread, void* (*entry)(void*), void* argument)
{
    sigset_t blocked, previous;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &blocked, &previous);
    const int started = pthread_create(&thread, nullptr, entry, argument);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return started == 0;
}

bool StartRenderThread(pthread_t& thread, RenderRun& run)
{
    return StartThreadWithoutSignals(thread, RenderThreadEntry, &run);
}

bool CreateRunEvents(RenderRun& run)
{
    run.frame.doneEvent = CreateDoneEvent();
    const bool failedStartEvent = CreateFailedStartEvent();
    return run.frame.doneEvent != nullptr && failedStartEvent;
}

void JoinRenderThread(pthread_t& thread)
{
    FailedStartShown();
    pthread_join(thread, nullptr);
}

int EndHost(RenderRun& run, int status)
{
    DestroyDoneEvent(run.frame.doneEvent);
    run.frame.doneEvent = nullptr;
    DestroyFailedStartEvent();
    CloseWakePipe();
    EndBySignalIfOne();
    return status;
}
