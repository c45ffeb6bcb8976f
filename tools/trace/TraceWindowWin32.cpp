// The replay program's window on Windows: a borderless window at the top left of the screen.

#include "tools/trace/TraceWindow.h"

#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace {
const wchar_t kClassName[] = L"MorrowmereTrace";
}

void PrepareTraceProcess()
{
    _setmode(_fileno(stdout), _O_BINARY);
}

const char* TraceDisplayName()
{
    return nullptr;
}

void* CreateTraceWindow(int32_t width, int32_t height)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass = {};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    if (RegisterClassW(&windowClass) == 0) {
        std::fputs("morrowmere-trace: the window class cannot be registered\n", stderr);
        return nullptr;
    }
    HWND window = CreateWindowExW(0, kClassName, L"Morrowmere trace", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        std::fputs("morrowmere-trace: the window cannot be created\n", stderr);
        return nullptr;
    }
    ServiceTraceWindow();
    return window;
}

void ServiceTraceWindow()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void DestroyTraceWindow(void* window)
{
    if (window != nullptr)
        DestroyWindow(static_cast<HWND>(window));
}
