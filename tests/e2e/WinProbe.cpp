// Drives the Windows saver from inside the same Wine session, where the tests need window
// handles rather than X11 input:
//   winprobe messagebox SECONDS [keep]  wait for the "Screen saver" box, print its text, press OK
//                                       (with keep, leave it up)
//   winprobe preview SCR WIDTH HEIGHT   host a preview in a parent window of that client size
//   winprobe preview-close SCR MS       start a preview, destroy its parent after MS milliseconds
//                                       and wait up to 5 s for the saver to end
//   winprobe post MESSAGE WPARAM LPARAM post to the full-screen saver window
//   winprobe dialog state|checked ID|click ID|press ID|focus ID|close  the settings dialog
//                                       (checked: whether that box is checked; press: a click
//                                       that does not wait for what the button does; focus: give
//                                       the control the keyboard focus as the Tab key does, and
//                                       wait until it has it)
//   winprobe wait-saver SECONDS         wait until the full-screen saver window exists
// Results are printed as name=value lines.

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
const wchar_t kSaverClass[] = L"WindowsScreenSaverClass";

HWND WaitForWindow(const wchar_t* className, const wchar_t* title, double seconds)
{
    const DWORD start = GetTickCount();
    do {
        // Exact, case-sensitive title: "Screen Saver" (the saver) and "Screen saver" (its box) differ.
        HWND found = nullptr;
        while ((found = FindWindowExW(nullptr, found, className, title)) != nullptr) {
            wchar_t text[128] = {};
            GetWindowTextW(found, text, 128);
            // Visible: a dialog fills its check boxes only when it is shown.
            if (std::wcscmp(text, title) == 0 && IsWindowVisible(found))
                return found;
        }
        Sleep(50);
    } while (GetTickCount() - start < seconds * 1000);
    return nullptr;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM out)
{
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    if (_wcsicmp(className, L"Static") == 0) {
        char text[512] = {};
        GetWindowTextA(child, text, sizeof text);
        if (text[0])
            *reinterpret_cast<std::string*>(out) = text;
    }
    return TRUE;
}

int MessageBoxCommand(double seconds, bool keep)
{
    HWND box = WaitForWindow(L"#32770", L"Screen saver", seconds);
    if (!box) {
        std::printf("messagebox=none\n");
        return 0;
    }
    std::string text;
    EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&text));
    wchar_t owner[64] = L"none";
    if (HWND ownerWindow = GetWindow(box, GW_OWNER))
        GetWindowTextW(ownerWindow, owner, 64);
    std::printf("messagebox=shown\nowner=%ls\ntext=%s\n", owner, text.c_str());
    if (!keep)
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
}

// The parent of a preview: records what the saver forwards to it.
int g_helpForwarded = 0;
LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CONTEXTMENU && reinterpret_cast<HWND>(wParam) == window)
        g_helpForwarded = 1;
    return DefWindowProcW(window, message, wParam, lParam);
}

void Pump(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

// A parent window with a client area of `width` x `height`, and the saver started as its preview.
// Prints "started=0" and returns false when the saver could not be started.
bool StartPreview(const char* saver, int width, int height, HWND& parent, PROCESS_INFORMATION& process)
{
    WNDCLASSW parentClass = {};
    parentClass.lpfnWndProc = ParentProc;
    parentClass.hInstance = GetModuleHandleW(nullptr);
    parentClass.lpszClassName = L"MorrowmerePreviewParent";
    RegisterClassW(&parentClass);
    RECT frame = {0, 0, width, height};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    parent = CreateWindowW(L"MorrowmerePreviewParent", L"Preview parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                           parentClass.hInstance, nullptr);
    char commandLine[1024];
    std::snprintf(commandLine, sizeof commandLine, "\"%s\" /p %lu", saver,
                  static_cast<unsigned long>(reinterpret_cast<uintptr_t>(parent)));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    process = {};
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::printf("started=0\n");
        return false;
    }
    return true;
}

int PreviewCommand(const char* saver, int width, int height)
{
    HWND parent = nullptr;
    PROCESS_INFORMATION process;
    if (!StartPreview(saver, width, height, parent, process))
        return 1;
    std::printf("started=1\n");
    HWND child = nullptr;
    for (int i = 0; i < 200 && !child; ++i) {
        Pump(50);
        child = FindWindowExW(parent, nullptr, kSaverClass, L"Preview");
    }
    if (!child) {
        std::printf("child=none\n");
        return 1;
    }
    Pump(1500);
    RECT client;
    GetClientRect(child, &client);
    std::printf("child=%ldx%ld\n", client.right, client.bottom);
    // Input over a preview closes nothing.
    PostMessageW(child, WM_KEYDOWN, 'A', 0);
    PostMessageW(child, WM_LBUTTONDOWN, 0, 0);
    PostMessageW(child, WM_MOUSEMOVE, 0, MAKELPARAM(200, 200));
    PostMessageW(child, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(child), MAKELPARAM(10, 10));
    Pump(1000);
    std::printf("alive-after-input=%d\nhelp-forwarded=%d\n", IsWindow(child) ? 1 : 0, g_helpForwarded);
    // The system ends a preview by destroying its parent.
    DestroyWindow(parent);
    const DWORD waited = WaitForSingleObject(process.hProcess, 10000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("ended=%d\nexit=%lu\n", waited == WAIT_OBJECT_0 ? 1 : 0, static_cast<unsigned long>(code));
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return 0;
}

int PreviewCloseCommand(const char* saver, DWORD milliseconds)
{
    HWND parent = nullptr;
    PROCESS_INFORMATION process;
    if (!StartPreview(saver, 200, 150, parent, process))
        return 1;
    Pump(milliseconds);
    const bool child = FindWindowExW(parent, nullptr, kSaverClass, L"Preview") != nullptr;
    DestroyWindow(parent);
    const DWORD closed = GetTickCount();
    const DWORD waited = WaitForSingleObject(process.hProcess, 5000);
    const DWORD took = GetTickCount() - closed;
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("child=%d\nended=%d\nexit=%lu\ntook=%lu\n", child ? 1 : 0, waited == WAIT_OBJECT_0 ? 1 : 0,
                static_cast<unsigned long>(code), static_cast<unsigned long>(took));
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 9);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return 0;
}

int DialogCommand(int argc, char** argv)
{
    HWND dialog = WaitForWindow(L"#32770", L"Dialog", 10);
    if (!dialog) {
        std::printf("dialog=none\n");
        return 1;
    }
    const std::string verb = argv[0];
    if (verb == "state") {
        char scaleText[16] = {};
        GetDlgItemTextA(dialog, 122, scaleText, sizeof scaleText);
        std::printf("fps=%d\nvsync=%d\nsound=%d\nscale=%d\nscale-text=%s\nmonitors=%d\n",
                    IsDlgButtonChecked(dialog, 117) == BST_CHECKED ? 1 : 0,
                    IsDlgButtonChecked(dialog, 118) == BST_CHECKED ? 1 : 0,
                    IsDlgButtonChecked(dialog, 119) == BST_CHECKED ? 1 : 0,
                    static_cast<int>(SendDlgItemMessageW(dialog, 121, TBM_GETPOS, 0, 0)), scaleText,
                    static_cast<int>(SendDlgItemMessageW(dialog, 123, CB_GETCURSEL, 0, 0)));
    } else if (verb == "checked" && argc > 1) {
        std::printf("checked=%d\n", IsDlgButtonChecked(dialog, std::atoi(argv[1])) == BST_CHECKED ? 1 : 0);
    } else if (verb == "click" && argc > 1) {
        // As a mouse click does: the button itself sends its command to the dialog.
        SendMessageW(GetDlgItem(dialog, std::atoi(argv[1])), BM_CLICK, 0, 0);
        std::printf("clicked=%s\n", argv[1]);
    } else if (verb == "press" && argc > 1) {
        PostMessageW(GetDlgItem(dialog, std::atoi(argv[1])), BM_CLICK, 0, 0);
        std::printf("pressed=%s\n", argv[1]);
    } else if (verb == "focus" && argc > 1) {
        // The dialog's own way of moving the focus, handled on its thread like a Tab key; the focus
        // of another thread is read through its GUI thread information.
        HWND control = GetDlgItem(dialog, std::atoi(argv[1]));
        PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        const DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
        for (int i = 0; i < 100 && !(control && GetGUIThreadInfo(thread, &info) && info.hwndFocus == control); ++i)
            Sleep(50);
        std::printf("focus=%d\n", info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0);
    } else if (verb == "close") {
        // The close box.
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        std::printf("closed=1\n");
    } else {
        return 2;
    }
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    if ((argc == 3 || (argc == 4 && std::strcmp(argv[3], "keep") == 0)) && std::strcmp(argv[1], "messagebox") == 0)
        return MessageBoxCommand(std::atof(argv[2]), argc == 4);
    if (argc == 5 && std::strcmp(argv[1], "preview") == 0)
        return PreviewCommand(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    if (argc == 4 && std::strcmp(argv[1], "preview-close") == 0)
        return PreviewCloseCommand(argv[2], static_cast<DWORD>(std::atoi(argv[3])));
    if (argc == 5 && std::strcmp(argv[1], "post") == 0) {
        HWND saver = WaitForWindow(kSaverClass, L"Screen Saver", 5);
        if (!saver) {
            std::printf("posted=0\n");
            return 1;
        }
        PostMessageW(saver, static_cast<UINT>(std::strtoul(argv[2], nullptr, 0)),
                     static_cast<WPARAM>(std::strtoull(argv[3], nullptr, 0)),
                     static_cast<LPARAM>(std::strtoll(argv[4], nullptr, 0)));
        std::printf("posted=1\n");
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "dialog") == 0)
        return DialogCommand(argc - 2, argv + 2);
    if (argc == 3 && std::strcmp(argv[1], "wait-saver") == 0) {
        std::printf("saver=%d\n", WaitForWindow(kSaverClass, L"Screen Saver", std::atof(argv[2])) ? 1 : 0);
        return 0;
    }
    std::fprintf(stderr, "usage: see the comment at the top of WinProbe.cpp\n");
    return 2;
}
