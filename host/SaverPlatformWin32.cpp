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

void ScreenSize(void* target, int32_t& width, int32_t& height)
{
    HDC dc = static_cast<HDC>(target);
    width = GetDeviceCaps(dc, HORZRES);
    height = GetDeviceCaps(dc, VERTRES);
}
