// The application frame's side of the saver window on Windows: it starts the render thread, stops
// it and waits for its teardown, and shows the message of a failed start.

#include "base/RunLog.h"
#include "base/SettingsStore.h"
#include "host/FrameRateCounter.h"
#include "host/windows/Host.h"
#include "host/PowerSource.h"
#include "host/ProcessGlobals.h"
#include "host/RenderThread.h"
#include "host/SaverPlatform.h"
#include "host/VideoInit.h"

#include <commctrl.h>

namespace {
HANDLE g_renderThread = nullptr;
RenderRun g_run; // what the render thread is handed
// The box of a failed start stays until the user answers it. It is owned by the saver window, so
// the window underneath takes no input while the box is up and can never cover it; and the window
// does not close meanwhile (losing activation would close it, its destruction would post the quit
// message, and that would end the box before the user has read it).
bool g_showingFailedStart = false;

DWORD WINAPI RenderThreadProc(LPVOID run)
{
    return RenderThreadMain(*static_cast<RenderRun*>(run));
}
} // namespace

LRESULT SaverWindowHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        Log().Record(kLogNotify, "Run looping thread");
        g_run.frame.window = window;
        g_run.sound = StoredSoundChoice();
        Settings().Get("MultiMonitor", g_run.frame.multiMonitor);
        // The saver closes when the power source changes, so the one at the start holds for the run.
        if (BatteryCapWanted()) {
            SYSTEM_POWER_STATUS power;
            if (GetSystemPowerStatus(&power) && power.ACLineStatus == 0)
                TellPowerSource(g_run.frame, true);
        }
        g_run.frame.doneEvent = CreateDoneEvent();
        if (g_run.frame.doneEvent != nullptr)
            g_renderThread = CreateThread(nullptr, 0, RenderThreadProc, &g_run, 0, nullptr);
        if (g_renderThread == nullptr) {
            // As if the thread had failed at once: nothing to release, and the box says why.
            Log().RecordAndKeep(kLogNotify, "Error of common initialization", "Error of initialization");
            PostMessageW(window, WM_USER, 0, 0);
        }
        break;
    case WM_DESTROY:
        StopFrames(g_run.frame);
        // No messages are pumped while waiting: the render thread sends none once the flag is set.
        if (g_renderThread != nullptr)
            WaitForDoneEvent(g_run.frame.doneEvent);
        Log().RecordNumber(kLogNotify, "FPS = %g", FrameRate().AverageRate());
        DestroyDoneEvent(g_run.frame.doneEvent);
        g_run.frame.doneEvent = nullptr;
        if (g_renderThread != nullptr) {
            CloseHandle(g_renderThread);
            g_renderThread = nullptr;
        }
        break;
    case WM_DISPLAYCHANGE:
        // The render thread reads the monitors again before its next frame.
        g_run.frame.monitorsChanged = 1;
        break;
    case WM_CLOSE:
        if (g_showingFailedStart)
            return 0;
        break;
    case WM_USER:
        if (const char* kept = Log().KeptUserMessage()) {
            g_showingFailedStart = true;
            MessageBoxA(window, kept, "Screen saver", MB_TOPMOST);
            g_showingFailedStart = false;
        }
        DestroyWindow(window);
        break;
    }
    return HostDefaultProc(window, message, wParam, lParam);
}

BOOL RegisterDialogClassesHook(HINSTANCE)
{
    // The render scale's trackbar: without its class the dialog cannot be made.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    return InitCommonControlsEx(&controls);
}
