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

// SetThreadDescription came with Windows 10 1607: looked up, so that the saver still starts where
// it is missing.
void NameThisThread(const char* name)
{
    using Describe = HRESULT(WINAPI*)(HANDLE, PCWSTR);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const FARPROC found = kernel != nullptr ? GetProcAddress(kernel, "SetThreadDescription") : nullptr;
    if (found == nullptr)
        return;
    wchar_t wide[32] = {};
    MultiByteToWideChar(CP_ACP, 0, name, -1, wide, 31);
    reinterpret_cast<Describe>(reinterpret_cast<void (*)()>(found))(GetCurrentThread(), wide);
}
