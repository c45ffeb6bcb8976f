#pragma once
// Windows only: how the screen-saver host, the application frame's window hook and the settings
// dialog call each other. All of it runs on the process's main (window) thread.

#include <windows.h>

// The host's handling that follows the frame's: the close rules of the full-screen saver, then
// DefWindowProcW.
LRESULT HostDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The frame's part of the saver window's procedure: starts the render thread on WM_CREATE, stops
// and waits for it on WM_DESTROY, shows the kept message on WM_USER; ends with HostDefaultProc.
LRESULT SaverWindowHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Called before the settings dialog is made; registers the common control classes the dialog uses
// (its trackbar). FALSE when they could not be, and the dialog is not shown.
BOOL RegisterDialogClassesHook(HINSTANCE instance);

// The settings dialog (resource 2003).
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
