#include "gfx/GlContext.h"

#include "base/SaverFrame.h"
#include "gfx/OpenGL.h"

#include <GL/wglew.h>

#include <new>

struct GlContextBackend {
    HWND window;
    HDC dc;
    HGLRC context;
};

bool GlCreateContext(FrameState& frame)
{
    HWND window = static_cast<HWND>(frame.window);
    frame.gl = new (std::nothrow) GlContextBackend{window, GetDC(window), nullptr};
    if (frame.gl == nullptr)
        return false;
    HDC dc = frame.gl->dc;
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
    frame.gl->context = wglCreateContext(dc);
    return frame.gl->context != nullptr;
}

void GlMakeCurrent(FrameState& frame)
{
    wglMakeCurrent(frame.gl->dc, frame.gl->context);
}

bool GlLoadFunctions()
{
    return glewInit() == GLEW_OK;
}

bool GlHasSwapControl()
{
    return WGLEW_EXT_swap_control;
}

void GlSetSwapInterval(FrameState&, int32_t interval)
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
    SwapBuffers(frame.gl->dc);
}

void GlScreenSize(const FrameState& frame, int32_t& width, int32_t& height)
{
    width = GetDeviceCaps(frame.gl->dc, HORZRES);
    height = GetDeviceCaps(frame.gl->dc, VERTRES);
}

void GlDeleteContext(FrameState& frame)
{
    // Deleted while still current: its textures, buffers and programs go with it.
    if (frame.gl != nullptr && frame.gl->context != nullptr)
        wglDeleteContext(frame.gl->context);
}

void GlReleaseDeviceContext(FrameState& frame)
{
    if (frame.gl == nullptr)
        return;
    ReleaseDC(frame.gl->window, frame.gl->dc);
    delete frame.gl;
    frame.gl = nullptr;
}
