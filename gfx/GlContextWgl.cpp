#include "gfx/GlContext.h"

#include "gfx/OpenGL.h"
#include "host/SaverFrame.h"

#include <GL/wglew.h>

bool GlCreateContext(FrameState& frame)
{
    HWND window = static_cast<HWND>(frame.window);
    HDC dc = GetDC(window);
    frame.deviceContext = dc;
    // Exactly what the saver has always asked for: OpenGL, double buffering, 24-bit colour and an
    // 8-bit depth buffer; the driver picks the nearest format it has.
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 24;
    format.cDepthBits = 8;
    format.iLayerType = PFD_MAIN_PLANE;
    SetPixelFormat(dc, ChoosePixelFormat(dc, &format), &format);
    frame.renderingContext = wglCreateContext(dc);
    return frame.renderingContext != nullptr;
}

void GlMakeCurrent(FrameState& frame)
{
    wglMakeCurrent(static_cast<HDC>(frame.deviceContext), static_cast<HGLRC>(frame.renderingContext));
}

bool GlHasSwapControl()
{
    return WGLEW_EXT_swap_control;
}

void GlSetSwapInterval(int32_t interval)
{
    // Looked up directly rather than through GLEW's table.
    typedef BOOL(WINAPI * SwapInterval)(int);
    const SwapInterval swapInterval =
        reinterpret_cast<SwapInterval>(reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT")));
    if (swapInterval)
        swapInterval(interval);
}

void GlSwapBuffers(FrameState& frame)
{
    SwapBuffers(static_cast<HDC>(frame.deviceContext));
}

void GlDeleteContext(FrameState& frame)
{
    // Deleted while still current: its textures, buffers and programs go with it.
    wglDeleteContext(static_cast<HGLRC>(frame.renderingContext));
}

void GlReleaseDeviceContext(FrameState& frame)
{
    ReleaseDC(static_cast<HWND>(frame.window), static_cast<HDC>(frame.deviceContext));
}
