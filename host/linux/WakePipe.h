#pragma once
// The pipe through which signals and the render thread wake a Linux host's thread, and a failed
// start's handshake across it.

// Why the host's thread was woken: one byte each through the pipe.
constexpr char kWakeSignal = 's';
constexpr char kWakeFailedStart = 'f';

// Opens the wake pipe (both ends non-blocking, closed on exec); false when it cannot.
bool OpenWakePipe();
// The end the host's thread polls and reads.
int WakePipeToRead();
// Async-signal-safe, and never blocks: a full pipe already holds a wake-up.
void Wake(char reason);
void CloseWakePipe();

// The event a failed start waits on (SendFailedStart) until the host's thread has shown its
// message: made with the run's events, let go once shown or when the run ends, then destroyed.
bool CreateFailedStartEvent();
void FailedStartShown();
void DestroyFailedStartEvent();
