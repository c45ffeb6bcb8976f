// The settings dialog: four check boxes, the render scale's trackbar and the monitors' list over
// the process's settings, Set Defaults (also the Escape key, which the dialog manager turns into the same command)
// and OK, which alone stores. A store that fails is said so and keeps the dialog open: the settings
// live under HKEY_LOCAL_MACHINE, which only administrators may change.

#include "base/RenderScale.h"
#include "base/RunLog.h"
#include "base/SettingsStore.h"
#include "gfx/MonitorLayout.h"
#include "host/windows/Host.h"
#include "host/ProcessGlobals.h"

#include <commctrl.h>

#include <iterator>
#include <string>

namespace {
const int kOk = 1;
const int kSetDefaults = 2;
const int kShowFps = 117;
const int kEnableVSync = 118;
const int kPlaySound = 119;
const int kRenderScale = 121;
const int kRenderScaleText = 122;
const int kMultiMonitor = 123;
const int kBatteryCap = 124;

void ShowRenderScaleText(HWND dialog, int32_t percent)
{
    SetDlgItemTextW(dialog, kRenderScaleText, (std::to_wstring(percent) + L"%").c_str());
}

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
    value = 1;
    settings.Get("BatteryFrameCap", value);
    CheckDlgButton(dialog, kBatteryCap, value != 0 ? BST_CHECKED : BST_UNCHECKED);
    value = kRenderScaleFullPercent;
    settings.Get("RenderScale", value);
    // A stored value the saver refuses is shown as what it draws at instead, full resolution, but
    // only a move of the trackbar changes the setting: OK stores an untouched value back as it was.
    double scale = 0;
    const int32_t shown = RenderScaleFromPercent(value, scale) ? value : kRenderScaleFullPercent;
    SendDlgItemMessageW(dialog, kRenderScale, TBM_SETPOS, TRUE, shown);
    ShowRenderScaleText(dialog, shown);
    // A stored value that is none of the choices shows the one the saver uses instead; it is stored
    // back unchanged unless another is picked.
    value = 0;
    settings.Get("MultiMonitor", value);
    MonitorChoice choice = MonitorChoice::SamePicture;
    MonitorChoiceFromSetting(value, choice);
    for (size_t i = 0; i < std::size(kMonitorChoices); ++i) {
        if (kMonitorChoices[i].choice == choice)
            SendDlgItemMessageW(dialog, kMultiMonitor, CB_SETCURSEL, i, 0);
    }
}
} // namespace

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageW(dialog, kRenderScale, TBM_SETRANGE, FALSE,
                            MAKELPARAM(kRenderScaleLeastPercent, kRenderScaleFullPercent));
        for (const MonitorChoiceItem& item : kMonitorChoices)
            SendDlgItemMessageW(dialog, kMultiMonitor, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.caption));
        // The dialog manager gives the first focus to OK, the first control with a tab stop.
        return TRUE;
    case WM_SHOWWINDOW:
        Refresh(dialog);
        return FALSE;
    case WM_HSCROLL: {
        // Every move of the trackbar, by mouse or by key, ends here once it has its new position.
        HWND trackbar = reinterpret_cast<HWND>(lParam);
        if (trackbar == nullptr || GetDlgCtrlID(trackbar) != kRenderScale)
            return FALSE;
        const auto percent = static_cast<int32_t>(SendMessageW(trackbar, TBM_GETPOS, 0, 0));
        Settings().Set("RenderScale", percent);
        ShowRenderScaleText(dialog, percent);
        return TRUE;
    }
    case WM_COMMAND: {
        if (LOWORD(wParam) == kMultiMonitor && HIWORD(wParam) == CBN_SELCHANGE) {
            const LRESULT picked = SendDlgItemMessageW(dialog, kMultiMonitor, CB_GETCURSEL, 0, 0);
            if (picked >= 0 && picked < static_cast<LRESULT>(std::size(kMonitorChoices)))
                Settings().Set("MultiMonitor", static_cast<int32_t>(kMonitorChoices[picked].choice));
            return TRUE;
        }
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
        case kBatteryCap:
            settings.Set("BatteryFrameCap", IsDlgButtonChecked(dialog, kBatteryCap) == BST_CHECKED ? 1 : 0);
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
