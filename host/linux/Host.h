#pragma once
// What the two Linux hosts (X11 and Wayland) share: the wake pipe (WakePipe.h), the signals that
// end a run, the hack options that go into the
// run, and the render thread started with those signals blocked.

#include "host/linux/HackOptions.h"
#include "host/linux/WakePipe.h"
#include "host/RenderThread.h"

#include <pthread.h>

// Drops the wake-ups that came before the run started (a signal among them still ends the run).
void DropStaleWakeUps();

// SIGTERM, SIGINT and SIGHUP end the run: until BeginOrderlyEnd they end the program at once (there
// is nothing to tear down, and a display that does not answer must not hold it); after, they wake
// the host's thread, which ends the run with its whole teardown.
void CatchEndSignals();
void BeginOrderlyEnd();
// The first of those signals that came since, or 0.
int EndingSignal();
// After the whole teardown: ends the program by the signal that ended the run, if one did, as a
// parent that sent it expects (every record is on disk; what the streams hold goes out first).
void EndBySignalIfOne();

// For the frame's `seenChanged`: while nothing shows the scene, the sound pauses (said once in the
// run log at each change); the render thread draws no frames meanwhile.
void QuietWhileUnseen(FrameState& frame, bool seen);

// -fps or -no-fps, -sound or -no-sound (else the stored EnableSound), and -delay, into the run.
void TakeHackOptions(const HackOptions& options, RenderRun& run);

// The run's done event, and the one a failed start waits on until the host's thread has shown its
// message (SendFailedStart, in WakePipe.cpp for both hosts). False when either cannot be made.
bool CreateRunEvents(RenderRun& run);
// Starts `entry(argument)` on a thread of its own that takes none of the ending signals: they wake
// the host's thread through the pipe. False when it could not start.
bool StartThreadWithoutSignals(pthread_t& thread, void* (*entry)(void*), void* argument);
// Starts RenderThreadMain(run) so.
bool StartRenderThread(pthread_t& thread, RenderRun& run);
// After the run's teardown: lets a failed start that is still waiting go on (also when the run
// ended otherwise, its message is then not shown), and waits for the thread to end.
void JoinRenderThread(pthread_t& thread);
// Last: the events and the wake pipe go, then the program ends by the signal that ended the run,
// if one did; otherwise returns `status`.
int EndHost(RenderRun& run, int status);
