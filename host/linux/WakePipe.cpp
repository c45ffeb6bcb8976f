// The wake pipe through which signals and the render thread wake a Linux host's thread, and the
// handshake of a failed start: the render thread asks the host's thread to show it and waits until
// it has. Kept apart from the rest of the host so that the render thread, which wakes the host,
// calls nothing that calls it back.

#include "host/linux/WakePipe.h"

#include "host/SaverPlatform.h"

#include <fcntl.h>
#include <unistd.h>

namespace {
int g_wakePipe[2] = {-1, -1};
DoneEvent* g_failedStartShown = nullptr;
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

void CloseWakePipe()
{
    close(g_wakePipe[0]);
    close(g_wakePipe[1]);
}

bool CreateFailedStartEvent()
{
    g_failedStartShown = CreateDoneEvent();
    return g_failedStartShown != nullptr;
}

// The render thread's side of a failed start: the host's thread shows it, and the render thread
// waits until it has.
void SendFailedStart(void*)
{
    Wake(kWakeFailedStart);
    WaitForDoneEvent(g_failedStartShown);
}

void FailedStartShown()
{
    SignalDoneEvent(g_failedStartShown);
}

void DestroyFailedStartEvent()
{
    DestroyDoneEvent(g_failedStartShown);
    g_failedStartShown = nullptr;
}
