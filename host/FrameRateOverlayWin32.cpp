#include "host/FrameRateCounter.h"

#include "host/SaverPlatform.h"

#include <windows.h>

void DrawFrameRateOverlay(FrameRateCounter& counter, void* target)
{
    HDC dc = static_cast<HDC>(target);
    const char* text = counter.Measure(TickCount());
    // A tenth of the screen, whatever the window's size; the background mode stays opaque, so the
    // text stands on black.
    RECT box = {0, 0, GetDeviceCaps(dc, HORZRES) / 10, GetDeviceCaps(dc, VERTRES) / 10};
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(0, 0, 0));
    DrawTextA(dc, text, -1, &box, 0);
}
