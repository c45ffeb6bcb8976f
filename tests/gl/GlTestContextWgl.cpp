// The test context on Windows (under Wine here): a 320 x 240 popup window with the saver's own
// pixel format and context, made by the saver's WGL code.

#include "gl/GlTest.h"

#include "base/SaverFrame.h"
#include "gfx/GlContext.h"

#include <gtest/gtest.h>

namespace {
// The saver's own context record for the test window; it lives until the process ends.
FrameState g_testFrame;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}
} // namespace

void CreateTestContext()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"MorrowmereGlTests";
    ASSERT_NE(RegisterClassW(&windowClass), 0);
    // A popup has no frame, so its client area is the whole window.
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"gl tests", WS_POPUP | WS_VISIBLE, 0, 0, kViewWidth,
                                  kViewHeight, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    g_testFrame.window = window;
    ASSERT_TRUE(GlCreateContext(g_testFrame));
    GlMakeCurrent(g_testFrame);
    ASSERT_EQ(glewInit(), static_cast<GLenum>(GLEW_OK));
    ASSERT_TRUE(GLEW_VERSION_2_0);
    // The window and context live until the process ends.
}

// The saver's pixel format is the only one the Windows tests use.
bool UseMultisampledWindows(int, int)
{
    return false;
}

bool UseTestWindows(int, int)
{
    return false;
}

void UseTestWindow() {}
