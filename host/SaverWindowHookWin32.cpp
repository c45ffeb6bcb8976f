// The application frame's side of the saver window on Windows: it starts the render thread, stops
// it and waits for its teardown, and shows the message of a failed start.

#include "host/FrameRateCounter.h"
#include "host/HostWin32.h"
#include "host/ProcessGlobals.h"
#include "host/RunLog.h"
#include "host/SaverFrame.h"

namespace {
HANDLE g_renderThread = nullptr;

DWORD WINAPI RenderThreadProc(LPVOID window)
{
    return RenderThreadMain(window);
}
} // namespace

LRESULT SaverWindowHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        Log().Record(kLogNotify, "Run looping thread");
        g_frame.doneEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        g_renderThread = CreateThread(nullptr, 0, RenderThreadProc, window, 0, nullptr);
        break;
    case WM_DESTROY:
        if (g_frame.stopFlag == 0)
            g_frame.stopFlag = 1;
        // No messages are pumped while waiting: the render thread sends none once the flag is set.
        WaitForSingleObject(g_frame.doneEvent, INFINITE);
        Log().RecordNumber(kLogNotify, "FPS = %g", FrameRate().AverageRate());
        CloseHandle(g_frame.doneEvent);
        g_frame.doneEvent = nullptr;
        if (g_renderThread) {
            CloseHandle(g_renderThread);
            g_renderThread = nullptr;
        }
        break;
    case WM_USER:
        if (const char* kept = Log().KeptUserMessage())
            MessageBoxA(nullptr, kept, "Screen saver", MB_TOPMOST);
        DestroyWindow(window);
        break;
    }
    return HostDefaultProc(window, message, wParam, lParam);
}

BOOL RegisterDialogClassesHook(HINSTANCE)
{
    return TRUE;
}
