// The OpenGL context on Wayland, through EGL: one desktop OpenGL context (not OpenGL ES: the
// scene's shaders and fixed-function steps are the same as on the other platforms), a window
// surface for the frame's window and one for each cover.
//
// Frames are paced by the compositor: a surface is drawn to again only once the compositor has
// asked for its next frame (a frame callback), and the render thread sleeps while no surface wants
// one, so outputs that are off or hidden cost nothing. The scene is always drawn into the window's
// back buffer; the covers that want a frame get its picture, fitted, and the window is shown when
// it wants one.

#include "gfx/DrawingState.h"
#include "gfx/GlContext.h"

#include "base/SaverFrame.h"
#include "gfx/FittedCopy.h"
#include "gfx/FixedCamera.h"
#include "gfx/MonitorLayout.h"
#include "gfx/OpenGL.h"
#include "gfx/WaylandTarget.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <wayland-client.h>
#include <wayland-egl.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <poll.h>
#include <vector>

namespace {
// While no surface wants a frame, the stop flag is looked at this often.
constexpr int kStopCheckMs = 100;

struct Drawable {
    wl_surface* surface = nullptr;
    wl_surface* wrapper = nullptr; // the surface's proxy on the render thread's queue
    wl_egl_window* native = nullptr;
    EGLSurface egl = EGL_NO_SURFACE;
    int32_t width = 0;
    int32_t height = 0;
    int32_t scale = 1;
    wl_callback* pending = nullptr; // the frame callback asked for
    bool wanted = true;             // the compositor asked for a frame
    bool paced = false;             // its swap interval is set
};
} // namespace

struct GlContextBackend {
    wl_display* display;
    wl_event_queue* queue; // the frame callbacks
    EGLDisplay egl;
    EGLConfig config;
    EGLContext context;
    Drawable window;
    // Each at a fixed address, which its frame callback holds.
    std::vector<std::unique_ptr<Drawable>> covers;
    FittedCopy copy; // its buffers go with the context
};

namespace {
void FrameDone(void* data, wl_callback* callback, uint32_t)
{
    Drawable* drawable = static_cast<Drawable*>(data);
    drawable->pending = nullptr;
    drawable->wanted = true;
    wl_callback_destroy(callback);
}
const wl_callback_listener kFrameListener = {FrameDone};

bool MakeDrawable(GlContextBackend& gl, Drawable& drawable)
{
    drawable.wrapper = static_cast<wl_surface*>(wl_proxy_create_wrapper(drawable.surface));
    if (drawable.wrapper == nullptr)
        return false;
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(drawable.wrapper), gl.queue);
    wl_surface_set_buffer_scale(drawable.surface, drawable.scale);
    drawable.native = wl_egl_window_create(drawable.surface, drawable.width, drawable.height);
    if (drawable.native == nullptr)
        return false;
    drawable.egl = eglCreateWindowSurface(gl.egl, gl.config, reinterpret_cast<EGLNativeWindowType>(drawable.native),
                                          nullptr);
    return drawable.egl != EGL_NO_SURFACE;
}

void ReleaseDrawable(GlContextBackend& gl, Drawable& drawable)
{
    if (drawable.pending != nullptr)
        wl_callback_destroy(drawable.pending);
    if (drawable.egl != EGL_NO_SURFACE)
        eglDestroySurface(gl.egl, drawable.egl);
    if (drawable.native != nullptr)
        wl_egl_window_destroy(drawable.native);
    if (drawable.wrapper != nullptr)
        wl_proxy_wrapper_destroy(drawable.wrapper);
    drawable = Drawable();
}

// Shows what the drawable's back buffer holds and asks for the next frame first, so that the
// request goes with the same commit.
void Show(GlContextBackend& gl, Drawable& drawable)
{
    drawable.pending = wl_surface_frame(drawable.wrapper);
    if (drawable.pending != nullptr)
        wl_callback_add_listener(drawable.pending, &kFrameListener, &drawable);
    drawable.wanted = false;
    eglSwapBuffers(gl.egl, drawable.egl);
}

void Resize(Drawable& drawable, int32_t width, int32_t height, int32_t scale)
{
    drawable.width = width;
    drawable.height = height;
    if (scale != drawable.scale) {
        drawable.scale = scale;
        wl_surface_set_buffer_scale(drawable.surface, scale);
    }
    wl_egl_window_resize(drawable.native, width, height, 0, 0);
}
} // namespace

bool GlCreateContext(FrameState& frame)
{
    WaylandTarget* target = static_cast<WaylandTarget*>(frame.window);
    frame.gl = new (std::nothrow) GlContextBackend{target->display, nullptr, EGL_NO_DISPLAY, nullptr,
                                                   EGL_NO_CONTEXT, Drawable(), {}, {}};
    if (frame.gl == nullptr)
        return false;
    GlContextBackend& gl = *frame.gl;
    gl.queue = wl_display_create_queue(gl.display);
    gl.egl = eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, gl.display, nullptr);
    if (gl.queue == nullptr || gl.egl == EGL_NO_DISPLAY || !eglInitialize(gl.egl, nullptr, nullptr) ||
        !eglBindAPI(EGL_OPENGL_API))
        return false;
    // What the saver asks for on every platform: RGBA, double-buffered, 24-bit colour, depth.
    const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_RED_SIZE, 8,
                             EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_DEPTH_SIZE, 8, EGL_NONE};
    EGLint count = 0;
    if (!eglChooseConfig(gl.egl, wanted, &gl.config, 1, &count) || count < 1)
        return false;
    gl.context = eglCreateContext(gl.egl, gl.config, EGL_NO_CONTEXT, nullptr);
    if (gl.context == EGL_NO_CONTEXT)
        return false;
    int32_t width = 0, height = 0;
    TakeWindowSize(frame, width, height);
    gl.window.surface = target->surface;
    gl.window.width = width;
    gl.window.height = height;
    gl.window.scale = target->scale.load();
    return width > 0 && height > 0 && MakeDrawable(gl, gl.window);
}

void GlMakeCurrent(FrameState& frame)
{
    eglMakeCurrent(frame.gl->egl, frame.gl->window.egl, frame.gl->window.egl, frame.gl->context);
    // The compositor paces the frames; a swap never waits by itself.
    eglSwapInterval(frame.gl->egl, 0);
}

bool GlLoadFunctions()
{
    // GLEW as the distribution builds it loads every OpenGL entry point first and then looks for
    // a GLX display, which an EGL context does not have: that last step is the only one missing.
    const GLenum result = glewInit();
    return result == GLEW_OK || result == GLEW_ERROR_NO_GLX_DISPLAY;
}

bool GlHasSwapControl()
{
    return true;
}

void GlSetSwapInterval(FrameState&, int32_t)
{
    // Frames follow the compositor's frame callbacks whatever the setting: that is its vertical
    // blank, and an output that shows nothing asks for none.
}

void GlFitDrawingArea(FrameState& frame)
{
    GlContextBackend& gl = *frame.gl;
    int32_t width = 0, height = 0;
    if (TakeWindowSize(frame, width, height)) {
        Resize(gl.window, width, height, static_cast<WaylandTarget*>(frame.window)->scale.load());
        MoveToArea(0, 0, width, height);
    }
    if (frame.monitorsChanged.exchange(0) == 0)
        return;
    std::vector<CoverWindow> wanted;
    uint32_t number = 0;
    {
        std::lock_guard<std::mutex> lock(frame.coversLock);
        wanted = frame.covers;
        number = frame.coversGeneration;
    }
    // Covers that stay keep their surfaces; the others are released before the host destroys
    // their surfaces (it waits until this list has been taken).
    std::vector<std::unique_ptr<Drawable>> kept;
    for (const CoverWindow& cover : wanted) {
        wl_surface* surface = reinterpret_cast<wl_surface*>(static_cast<uintptr_t>(cover.window));
        std::unique_ptr<Drawable> drawable;
        for (std::unique_ptr<Drawable>& old : gl.covers)
            if (old && old->surface == surface)
                drawable = std::move(old);
        if (!drawable) {
            drawable.reset(new (std::nothrow) Drawable());
            if (!drawable)
                continue;
            drawable->surface = surface;
            drawable->width = cover.width;
            drawable->height = cover.height;
            drawable->scale = cover.scale;
            if (!MakeDrawable(gl, *drawable)) {
                ReleaseDrawable(gl, *drawable);
                continue;
            }
        } else if (drawable->width != cover.width || drawable->height != cover.height ||
                   drawable->scale != cover.scale) {
            Resize(*drawable, cover.width, cover.height, cover.scale);
        }
        kept.push_back(std::move(drawable));
    }
    for (std::unique_ptr<Drawable>& old : gl.covers)
        if (old)
            ReleaseDrawable(gl, *old);
    gl.covers = std::move(kept);
    frame.coversTaken = number;
}

void GlCopyToOtherMonitors(FrameState& frame)
{
    GlContextBackend& gl = *frame.gl;
    // The frame callbacks that came in while the scene was drawn (the host's thread reads them).
    wl_display_dispatch_queue_pending(gl.display, gl.queue);
    const PixelRect picture = {0, 0, gl.window.width, gl.window.height};
    bool switched = false;
    for (std::unique_ptr<Drawable>& each : gl.covers) {
        Drawable& cover = *each;
        if (!cover.wanted)
            continue;
        if (!eglMakeCurrent(gl.egl, cover.egl, gl.window.egl, gl.context))
            continue;
        switched = true;
        if (!cover.paced) {
            // Its frames follow the compositor's callbacks, as the window's do.
            eglSwapInterval(gl.egl, 0);
            cover.paced = true;
        }
        // Without a way to copy the picture the cover is black, still paced by its callbacks.
        if (!gl.copy.Draw(picture, cover.width, cover.height))
            glClear(GL_COLOR_BUFFER_BIT);
        Show(gl, cover);
    }
    if (switched)
        eglMakeCurrent(gl.egl, gl.window.egl, gl.window.egl, gl.context);
}

void GlSwapBuffers(FrameState& frame)
{
    GlContextBackend& gl = *frame.gl;
    // The next frame is drawn while the compositor shows this one; before it is shown, the
    // compositor must have asked for it (or for a cover's), else the thread sleeps until it does
    // or the run ends.
    const auto wanted = [&gl] {
        if (gl.window.wanted)
            return true;
        for (const std::unique_ptr<Drawable>& cover : gl.covers)
            if (cover->wanted)
                return true;
        return false;
    };
    while (!wanted() && frame.stopFlag == 0) {
        while (wl_display_prepare_read_queue(gl.display, gl.queue) != 0) {
            if (wl_display_dispatch_queue_pending(gl.display, gl.queue) < 0)
                return;
        }
        if (wanted()) {
            wl_display_cancel_read(gl.display);
            break;
        }
        wl_display_flush(gl.display);
        pollfd wait = {wl_display_get_fd(gl.display), POLLIN, 0};
        if (poll(&wait, 1, kStopCheckMs) > 0) {
            if (wl_display_read_events(gl.display) < 0)
                return;
        } else {
            wl_display_cancel_read(gl.display);
        }
        if (wl_display_dispatch_queue_pending(gl.display, gl.queue) < 0)
            return;
    }
    if (gl.window.wanted)
        Show(gl, gl.window);
    else
        glFlush();
}

bool GlDrawingAreaFillsWindow(const FrameState&)
{
    return true;
}

void GlOverlayViewport(const FrameState&, int32_t viewport[4])
{
    std::copy(Drawing().viewport, Drawing().viewport + 4, viewport);
}

void GlScreenSize(const FrameState& frame, int32_t& width, int32_t& height)
{
    width = frame.gl->window.width;
    height = frame.gl->window.height;
}

void GlDeleteContext(FrameState& frame)
{
    if (frame.gl == nullptr || frame.gl->context == EGL_NO_CONTEXT)
        return;
    GlContextBackend& gl = *frame.gl;
    gl.copy = FittedCopy();
    eglMakeCurrent(gl.egl, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(gl.egl, gl.context);
    gl.context = EGL_NO_CONTEXT;
}

void GlReleaseDeviceContext(FrameState& frame)
{
    if (frame.gl == nullptr)
        return;
    GlContextBackend& gl = *frame.gl;
    for (std::unique_ptr<Drawable>& cover : gl.covers)
        ReleaseDrawable(gl, *cover);
    gl.covers.clear();
    ReleaseDrawable(gl, gl.window);
    if (gl.egl != EGL_NO_DISPLAY)
        eglTerminate(gl.egl);
    if (gl.queue != nullptr)
        wl_event_queue_destroy(gl.queue);
    delete frame.gl;
    frame.gl = nullptr;
}
