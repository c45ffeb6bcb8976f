#include "host/HostPosix.h"

#include "base/RunLog.h"
#include "base/SaverFrame.h"
#include "base/SettingsStore.h"
#include "sound/SoundManager.h"
#include "host/ProcessGlobals.h"
#include "host/SaverPlatform.h"
#include "host/VideoInit.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {
int g_wakePipe[2] = {-1, -1};
DoneEvent* g_failedStartShown = nullptr;
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

bool OpenWakePipe()
{
    if (pipe(g_wakePipe) != 0)
        return false;
    for (int end : g_wakePipe) {
        fcntl(end, F_SETFL, fcntl(end, F_GETFL) | O_NONBLOCK);
        fcntl(end, F_SETFD, FD_CLOEXEC);
    }
    return true;
}

int WakePipeToRead()
{
    return g_wakePipe[0];
}

void Wake(char reason)
{
    if (write(g_wakePipe[1], &reason, 1) < 0) {
    }
}

void DropStaleWakeUps()
{
    char stale[16];
    while (read(g_wakePipe[0], stale, sizeof stale) > 0) {
    }
    if (g_signalled)
        Wake(kWakeSignal);
}

void CloseWakePipe()
{
    close(g_wakePipe[0]);
    close(g_wakePipe[1]);
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
    g_failedStartShown = CreateDoneEvent();
    return run.frame.doneEvent != nullptr && g_failedStartShown != nullptr;
}

// The render thread's side of a failed start: the host's thread shows it, and the render thread
// waits until it has.
void SendFailedStart(void*)
{
    Wake(kWakeFailedStart);
    WaitForDoneEvent(g_failedStartShown);
}

void JoinRenderThread(pthread_t& thread)
{
    SignalDoneEvent(g_failedStartShown);
    pthread_join(thread, nullptr);
}

int EndHost(RenderRun& run, int status)
{
    DestroyDoneEvent(run.frame.doneEvent);
    run.frame.doneEvent = nullptr;
    DestroyDoneEvent(g_failedStartShown);
    g_failedStartShown = nullptr;
    CloseWakePipe();
    EndBySignalIfOne();
    return status;
}
