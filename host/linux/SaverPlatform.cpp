#include "host/SaverPlatform.h"

#include <cerrno>
#include <pthread.h>
#include <new>
#include <semaphore.h>
#include <time.h>

struct DoneEvent {
    sem_t semaphore;
};

uint32_t TickCount()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t milliseconds =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(milliseconds);
}

DoneEvent* CreateDoneEvent()
{
    DoneEvent* event = new (std::nothrow) DoneEvent;
    if (event != nullptr && sem_init(&event->semaphore, 0, 0) != 0) {
        delete event;
        return nullptr;
    }
    return event;
}

void SignalDoneEvent(DoneEvent* event)
{
    sem_post(&event->semaphore);
}

void WaitForDoneEvent(DoneEvent* event)
{
    while (sem_wait(&event->semaphore) != 0 && errno == EINTR) {
    }
}

void DestroyDoneEvent(DoneEvent* event)
{
    if (event == nullptr)
        return;
    sem_destroy(&event->semaphore);
    delete event;
}

void PaceFrame(uint32_t microseconds)
{
    if (microseconds == 0)
        return;
    timespec rest;
    rest.tv_sec = static_cast<time_t>(microseconds / 1000000u);
    rest.tv_nsec = static_cast<long>(microseconds % 1000000u) * 1000L;
    while (nanosleep(&rest, &rest) != 0 && errno == EINTR) {
    }
}

void NameThisThread(const char* name)
{
    pthread_setname_np(pthread_self(), name);
}
