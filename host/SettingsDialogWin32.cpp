// The settings dialog: three check boxes over the process's settings, Set Defaults (also the Escape
// key, which the dialog manager turns into the same command) and OK, which alone stores. A store
// that fails is said so and keeps the dialog open: the settings live under HKEY_LOCAL_MACHINE,
// which only administrators may change.

#include "base/RunLog.h"
#include "base/SettingsStore.h"
#include "host/HostWin32.h"
#include "host/ProcessGlobals.h"

namespace {
const int kOk = 1;
const int kSetDefaults = 2;
const int kShowFps = 117;
const int kEnableVSync = 118;
const int kPlaySound = 119;

void Refresh(HWND dialog)
{
    SettingsStore& settings = Settings();
    int32_t value = 0;
    settings.Get("EnableFPS", value);
    CheckDlgButton(dialog, kShowFps, value != 0 ? BST_CHECKED : BST_UNCHECKED);
    value = 0;
    settings.Get("EnableVSync", value);
    CheckDlgButton(dialog, kEnableVSync, value != 0 ? BST_CHECKED : BST_UNCHECKED);
    value = 1;
    settings.Get("EnableSound", value);
    CheckDlgButton(dialog, kPlaySound, value != 0 ? BST_CHECKED : BST_UNCHECKED);
}
} // namespace

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_SHOWWINDOW:
        Refresh(dialog);
        return FALSE;
    case WM_COMMAND: {
        if (HIWORD(wParam) != 0)
            return FALSE;
        SettingsStore& settings = Settings();
        switch (LOWORD(wParam)) {
        case kOk:
            if (settings.Store() != 0) {
                Log().Record(kLogError, "Settings could not be stored");
                MessageBoxW(dialog,
                            L"The settings could not be saved.\n\nAdministrator rights are needed to change "
                            L"them for this computer.",
                            L"Screen saver", MB_OK | MB_ICONWARNING);
                return TRUE;
            }
            SendMessageW(dialog, WM_CLOSE, 0, 0);
            return TRUE;
        case kSetDefaults:
            settings.ResetToDefaults();
            Refresh(dialog);
            return TRUE;
        case kShowFps:
            settings.Set("EnableFPS", IsDlgButtonChecked(dialog, kShowFps) == BST_CHECKED ? 1 : 0);
            return TRUE;
        case kEnableVSync:
            settings.Set("EnableVSync", IsDlgButtonChecked(dialog, kEnableVSync) == BST_CHECKED ? 1 : 0);
            return TRUE;
        case kPlaySound:
            settings.Set("EnableSound", IsDlgButtonChecked(dialog, kPlaySound) == BST_CHECKED ? 1 : 0);
            return TRUE;
        }
        return FALSE;
    }
    case WM_CLOSE:
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}
