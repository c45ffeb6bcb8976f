// The screen-saver host on Windows: the process entry, the command line, the saver window with its
// message loop, and the rules that close the full-screen saver on input and power events.
//
// Only the Windows NT family is served: there the system asks for the password itself, so the
// Windows 9x password dialog, the password-change mode and SPI_SCREENSAVERRUNNING are left out,
// and /a ends with -1 as it does on NT.

#include "base/RunLog.h"
#include "host/CloseRules.h"
#include "host/CommandLine.h"
#include "host/windows/Host.h"

#include <commctrl.h>

namespace {
const wchar_t kClassName[] = L"WindowsScreenSaverClass";
const wchar_t kFullScreenName[] = L"Screen Saver";
const wchar_t kPreviewName[] = L"Preview";
const int kSettingsDialog = 2003;

typedef HIMC(WINAPI* AssociateContext)(HWND, HIMC);

struct HostState {
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;
    bool preview = false;
    AssociateContext associateContext = nullptr;
    HIMC savedContext = nullptr;
    POINT reference = {0, 0};
    BYTE mains = 255;
} g_host;

BYTE MainsStatus()
{
    SYSTEM_POWER_STATUS status;
    return GetSystemPowerStatus(&status) ? status.ACLineStatus : 255;
}

void HideCursor()
{
    SetCursor(nullptr);
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        // Typing must not start an input-method composition over the saver.
        if (HMODULE imm = GetModuleHandleW(L"IMM32.DLL")) {
            g_host.associateContext =
                reinterpret_cast<AssociateContext>(reinterpret_cast<void*>(GetProcAddress(imm, "ImmAssociateContext")));
            if (g_host.associateContext)
                g_host.savedContext = g_host.associateContext(window, nullptr);
        }
        GetCursorPos(&g_host.reference);
        if (!g_host.preview)
            HideCursor();
        break;
    }
    case WM_DESTROY:
        if (g_host.associateContext && g_host.savedContext)
            g_host.associateContext(window, g_host.savedContext);
        PostQuitMessage(0);
        break;
    case WM_DISPLAYCHANGE:
        // A monitor came or went: the saver keeps covering the whole virtual screen.
        if (!g_host.preview)
            SetWindowPos(window, HWND_TOPMOST, GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                         GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                         SWP_NOACTIVATE);
        break;
    case WM_PAINT:
        if (!g_host.preview)
            HideCursor();
        break;
    case WM_SETTEXT:
        return 0;
    case WM_HELP:
    case WM_CONTEXTMENU:
        if (g_host.preview) {
            HWND parent = GetParent(window);
            if (parent && IsWindow(parent))
                PostMessageW(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
            return 1;
        }
        break;
    case WM_SYSCOMMAND:
        if (!g_host.preview) {
            switch (wParam & 0xFFF0) {
            case SC_NEXTWINDOW:
            case SC_PREVWINDOW:
            case SC_SCREENSAVE:
                return 0;
            case SC_MONITORPOWER:
                PostMessageW(window, WM_CLOSE, 0, 0);
                break;
            }
        }
        break;
    case WM_TIMER:
        Sleep(0);
        break;
    }
    return SaverWindowHook(window, message, wParam, lParam);
}

int RunSaverWindow(HWND parent)
{
    WNDCLASSW windowClass = {};
    windowClass.style = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.hInstance = g_host.instance;
    windowClass.hIcon = LoadIconW(g_host.instance, MAKEINTRESOURCEW(100)); // none: the saver has no icon 100
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;

    int x, y, width, height;
    DWORD style, extendedStyle = 0;
    const wchar_t* name;
    if (parent) {
        RECT client;
        GetClientRect(parent, &client);
        x = 0;
        y = 0;
        width = client.right;
        height = client.bottom;
        style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
        name = kPreviewName;
        g_host.preview = true;
    } else {
        x = GetSystemMetrics(SM_XVIRTUALSCREEN);
        y = GetSystemMetrics(SM_YVIRTUALSCREEN);
        width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
        height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
        if (width == 0 || height == 0) {
            HDC screen = GetDC(nullptr);
            RECT box;
            GetClipBox(screen, &box);
            ReleaseDC(nullptr, screen);
            x = box.left;
            y = box.top;
            width = box.right - box.left;
            height = box.bottom - box.top;
        }
        style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        extendedStyle = WS_EX_TOPMOST;
        name = kFullScreenName;
        // One full-screen saver at a time: a second start only brings the first to the front.
        if (HWND running = FindWindowW(kClassName, kFullScreenName)) {
            SetForegroundWindow(running);
            return 0;
        }
        g_host.mains = MainsStatus();
    }

    if (RegisterClassW(&windowClass))
        g_host.mainWindow = CreateWindowExW(extendedStyle, kClassName, name, style, x, y, width, height, parent,
                                            nullptr, g_host.instance, nullptr);
    if (!g_host.mainWindow)
        return 0;
    if (!g_host.preview)
        SetForegroundWindow(g_host.mainWindow);
    MSG message;
    WPARAM result = 0;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (message.message == WM_QUIT)
        result = message.wParam;
    return static_cast<int>(result);
}

int ShowConfigDialog(HWND owner)
{
    if (!RegisterDialogClassesHook(g_host.instance))
        return 0;
    return static_cast<int>(
        DialogBoxParamW(g_host.instance, MAKEINTRESOURCEW(kSettingsDialog), owner, SettingsDialogProc, 0));
}

HWND WindowFromNumber(uint32_t number)
{
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(number));
}

int HostMain(HINSTANCE instance, const wchar_t* arguments)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    g_host.instance = instance;

    const SaverCommand command = ReadSaverCommand(arguments);
    switch (command.mode) {
    case SaverMode::ConfigureAlone:
        return ShowConfigDialog(nullptr);
    case SaverMode::Configure: {
        HWND owner = WindowFromNumber(command.window);
        if (!owner || !IsWindow(owner))
            owner = GetForegroundWindow();
        return ShowConfigDialog(owner);
    }
    case SaverMode::FullScreen:
        return RunSaverWindow(nullptr);
    case SaverMode::Preview: {
        HWND parent = WindowFromNumber(command.window);
        if (!parent || !IsWindow(parent))
            return -1;
        return RunSaverWindow(parent);
    }
    case SaverMode::ChangePassword: // Windows 9x only
    case SaverMode::Invalid:
        break;
    }
    return -1;
}
} // namespace

LRESULT HostDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!g_host.preview) {
        switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            PostMessageW(window, WM_CLOSE, 0, 0);
            break;
        case WM_MOUSEMOVE: {
            POINT position;
            GetCursorPos(&position);
            if (MouseMoveCloses(g_host.reference.x, g_host.reference.y, position.x, position.y)) {
                PostMessageW(window, WM_CLOSE, 0, 0);
                g_host.reference = position;
            }
            break;
        }
        case WM_ACTIVATEAPP:
            if (wParam == 0)
                PostMessageW(window, WM_CLOSE, 0, 0);
            break;
        case WM_SHOWWINDOW:
            if (wParam != 0)
                HideCursor();
            break;
        case WM_SETCURSOR:
            HideCursor();
            return 1;
        case WM_POWER:
            if (wParam == PWR_CRITICALRESUME)
                PostMessageW(window, WM_CLOSE, 0, 0);
            break;
        case WM_POWERBROADCAST:
            switch (ClassifyPowerBroadcast(wParam, lParam)) {
            case PowerAction::Close:
                PostMessageW(window, WM_CLOSE, 0, 0);
                break;
            case PowerAction::CheckMains: {
                const BYTE mains = MainsStatus();
                if (mains != g_host.mains)
                    PostMessageW(window, WM_CLOSE, 0, 0);
                g_host.mains = mains;
                break;
            }
            case PowerAction::Ignore:
                break;
            }
            break;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

namespace {
// A crash on any thread ends the process with -1, the code of a saver that could not run, rather
// than with the exception's code (or a debugger's dialog over a screen that nobody watches).
LONG WINAPI EndAfterCrash(EXCEPTION_POINTERS*)
{
    ExitProcess(static_cast<UINT>(-1));
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    Log().OpenForProcess();
    SetUnhandledExceptionFilter(EndAfterCrash);
    const wchar_t* arguments = SkipProgramName(GetCommandLineW());
    // The process ends here, without the C runtime's exit handlers: every log record has already
    // been flushed.
    ExitProcess(static_cast<UINT>(HostMain(instance, arguments)));
}
