#include "host/SaverPlatform.h"

#include "host/SaverFrame.h"

#include <windows.h>

uint32_t TickCount()
{
    return GetTickCount();
}

void SignalRenderThreadDone()
{
    SetEvent(static_cast<HANDLE>(g_frame.doneEvent));
}

void SendFailedStart(void* window)
{
    SendMessageA(static_cast<HWND>(window), WM_USER, 0, 0);
}
