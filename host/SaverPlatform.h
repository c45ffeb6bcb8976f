#pragma once
// The few platform services that the render thread's shared logic uses.

#include <cstdint>

// The 32-bit millisecond tick (wraps about every 49.7 days).
uint32_t TickCount();

// An auto-reset event: created not signalled; one Wait returns after each Signal.
struct DoneEvent;
// Null when the system has none to give.
DoneEvent* CreateDoneEvent();
void SignalDoneEvent(DoneEvent* event);
// Blocks without a time-out and without handling window messages.
void WaitForDoneEvent(DoneEvent* event);
void DestroyDoneEvent(DoneEvent* event);

// Rests after a frame has been swapped, for the Linux port's -delay, so that a hack without
// vertical sync does not take a whole core. The Windows hosts ask for none: vertical sync paces
// the saver there.
void PaceFrame(uint32_t restMicroseconds);

// Names the calling thread for the system's tools (a process viewer's thread list, a debugger).
void NameThisThread(const char* name);

// Asks the window thread, synchronously, to show the kept user message and close the window.
void SendFailedStart(void* window);
