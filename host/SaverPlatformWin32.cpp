#include "host/SaverPlatform.h"

#include <windows.h>

#include <new>

struct DoneEvent {
    HANDLE handle;
};

uint32_t TickCount()
{
    return GetTickCount();
}

DoneEvent* CreateDoneEvent()
{
    HANDLE handle = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (handle == nullptr)
        return nullptr;
    DoneEvent* event = new (std::nothrow) DoneEvent{handle};
    if (event == nullptr)
        CloseHandle(handle);
    return event;
}

void SignalDoneEvent(DoneEvent* event)
{
    SetEvent(event->handle);
}

void WaitForDoneEvent(DoneEvent* event)
{
    WaitForSingleObject(event->handle, INFINITE);
}

void DestroyDoneEvent(DoneEvent* event)
{
    if (event == nullptr)
        return;
    CloseHandle(event->handle);
    delete event;
}

// The Windows hosts ask for no rest: vertical sync paces the saver.
void PaceFrame(uint32_t)
{
}

void SendFailedStart(void* window)
{
    SendMessageA(static_cast<HWND>(window), WM_USER, 0, 0);
}
