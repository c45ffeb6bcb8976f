// The OpenGL context on Wayland, through EGL: one desktop OpenGL context (not OpenGL ES: the
// scene's shaders and fixed-function steps are the same as on the other platforms), a window
// surface for the frame's window and one for each cover.
//
// Frames are paced by the compositor's frame callbacks, never by a fixed rest: the scene is drawn
// into the window's back buffer, then the thread sleeps until one surface's compositor asks for a
// frame (SurfacePacing.h: the window's, or the first visible cover's while the window is hidden),
// and every surface that wants a frame then gets that picture: the window as drawn, the covers
// fitted. While no surface wants one (outputs off or hidden) it costs nothing; a change of the
// outputs wakes it at once.

#include "gfx/DrawingState.h"
#include "gfx/GlContext.h"

#include "base/FrameCap.h"
#include "base/RunLog.h"
#include "base/SaverFrame.h"
#include "gfx/FittedCopy.h"
#include "gfx/FixedCamera.h"
#include "gfx/MonitorLayout.h"
#include "gfx/OpenGL.h"
#include "gfx/SurfacePacing.h"
#include "host/wayland/RenderTarget.h"

#include "presentation-time-client-protocol.h"
#include "viewporter-client-protocol.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <wayland-client.h>
#include <wayland-egl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <new>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {
struct Drawable {
    wl_surface* surface = nullptr;
    wl_surface* wrapper = nullptr; // the surface's proxy on the render thread's queue
    wp_viewport* viewport = nullptr;
    wl_egl_window* native = nullptr;
    EGLSurface egl = EGL_NO_SURFACE;
    SurfaceSize size;
    int32_t appliedScale = 0;         // the buffer scale the surface has now; 0 before it is set
                                      // (a surface may have had another drawable before)
    wl_callback* pending = nullptr;   // the frame callback asked for
    // The compositor's word on the frames shown and not yet told of (destroyed with the drawable,
    // whose address they hold).
    std::vector<struct wp_presentation_feedback*> feedbacks;
    SurfacePace pace;
    bool paced = false;               // its swap interval is set
    wl_buffer* black = nullptr;       // shown where it cannot be drawn on
    bool saidSwapFailed = false;
};

// The compositor's words on frames asked for and not yet had, at most, for each surface.
constexpr size_t kFeedbacksAtOnce = 3;

uint32_t NowMs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

uint64_t NowMicroseconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000u + static_cast<uint64_t>(now.tv_nsec) / 1000u;
}
} // namespace

struct GlContextBackend {
    wl_display* display = nullptr;
    RenderTarget* target = nullptr;
    wl_event_queue* queue = nullptr; // the frame callbacks
    wp_presentation* presentation = nullptr; // on that queue; none where the compositor cannot tell
    EGLDisplay egl = EGL_NO_DISPLAY;
    EGLConfig config = nullptr;
    EGLContext context = EGL_NO_CONTEXT;
    Drawable window;
    // Each at a fixed address, which its frame callback holds.
    std::vector<std::unique_ptr<Drawable>> covers;
    // The window's pace, then the covers', made again when the covers change.
    std::vector<const SurfacePace*> paces;
    FittedCopy copy;             // its buffers go with the context
    uint64_t frameStart = 0;     // microseconds, for -delay
    FrameCap cap;                // on battery
    bool showing = false;        // this frame is shown
    uint32_t startedAt = 0;      // milliseconds, once the first frame was swapped
    bool framed = false;         // the first frame has been swapped
    bool unseen = false;         // nothing shows the scene (the host was told)
};

namespace {
void FrameDone(void* data, wl_callback* callback, uint32_t)
{
    Drawable* drawable = static_cast<Drawable*>(data);
    drawable->pending = nullptr;
    drawable->pace.Answered(NowMs());
    wl_callback_destroy(callback);
}
const wl_callback_listener kFrameListener = {FrameDone};

void FeedbackDone(Drawable& drawable, struct wp_presentation_feedback* feedback)
{
    std::vector<struct wp_presentation_feedback*>& feedbacks = drawable.feedbacks;
    feedbacks.erase(std::remove(feedbacks.begin(), feedbacks.end(), feedback), feedbacks.end());
    wp_presentation_feedback_destroy(feedback);
}
void FeedbackSyncOutput(void*, struct wp_presentation_feedback*, wl_output*)
{
}
void FeedbackPresented(void* data, struct wp_presentation_feedback* feedback, uint32_t, uint32_t, uint32_t, uint32_t,
                       uint32_t, uint32_t, uint32_t)
{
    Drawable* drawable = static_cast<Drawable*>(data);
    drawable->pace.Presented(NowMs());
    FeedbackDone(*drawable, feedback);
}
void FeedbackDiscarded(void* data, struct wp_presentation_feedback* feedback)
{
    FeedbackDone(*static_cast<Drawable*>(data), feedback);
}
const wp_presentation_feedback_listener kFeedbackListener = {FeedbackSyncOutput, FeedbackPresented, FeedbackDiscarded};

// The size and scale go with the next commit: a buffer scale, or a viewport at the logical size.
void ApplyScale(GlContextBackend& gl, Drawable& drawable)
{
    const SurfaceSize& size = drawable.size;
    if (size.logicalWidth > 0 && drawable.viewport == nullptr && gl.target->viewporter != nullptr)
        drawable.viewport = wp_viewporter_get_viewport(gl.target->viewporter, drawable.surface);
    if (drawable.viewport != nullptr) {
        if (size.logicalWidth > 0)
            wp_viewport_set_destination(drawable.viewport, size.logicalWidth, size.logicalHeight);
        else
            wp_viewport_set_destination(drawable.viewport, -1, -1);
    }
    const int32_t scale = size.logicalWidth > 0 ? 1 : size.scale;
    if (scale != drawable.appliedScale) {
        wl_surface_set_buffer_scale(drawable.surface, scale);
        drawable.appliedScale = scale;
    }
}

bool MakeDrawable(GlContextBackend& gl, Drawable& drawable)
{
    drawable.wrapper = static_cast<wl_surface*>(wl_proxy_create_wrapper(drawable.surface));
    if (drawable.wrapper == nullptr)
        return false;
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(drawable.wrapper), gl.queue);
    ApplyScale(gl, drawable);
    drawable.native = wl_egl_window_create(drawable.surface, drawable.size.width, drawable.size.height);
    if (drawable.native == nullptr)
        return false;
    drawable.egl = eglCreateWindowSurface(gl.egl, gl.config, reinterpret_cast<EGLNativeWindowType>(drawable.native),
                                          nullptr);
    return drawable.egl != EGL_NO_SURFACE;
}

void ReleaseDrawing(GlContextBackend& gl, Drawable& drawable)
{
    if (drawable.pending != nullptr)
        wl_callback_destroy(drawable.pending);
    drawable.pending = nullptr;
    if (drawable.egl != EGL_NO_SURFACE)
        eglDestroySurface(gl.egl, drawable.egl);
    drawable.egl = EGL_NO_SURFACE;
    if (drawable.native != nullptr)
        wl_egl_window_destroy(drawable.native);
    drawable.native = nullptr;
}

void ReleaseDrawable(GlContextBackend& gl, Drawable& drawable)
{
    ReleaseDrawing(gl, drawable);
    if (drawable.black != nullptr)
        wl_buffer_destroy(drawable.black);
    if (drawable.viewport != nullptr)
        wp_viewport_destroy(drawable.viewport);
    for (struct wp_presentation_feedback* feedback : drawable.feedbacks)
        wp_presentation_feedback_destroy(feedback);
    if (drawable.wrapper != nullptr)
        wl_proxy_wrapper_destroy(drawable.wrapper);
    drawable = Drawable();
}

// A surface that cannot be drawn on shows black, once, and asks for no frames: a buffer of zero
// pages (black in a format without alpha) that costs no memory until read.
void ShowBlack(GlContextBackend& gl, Drawable& drawable)
{
    if (!drawable.pace.broken)
        Log().Record(kLogError, "A monitor's surface cannot be drawn on: it shows black");
    drawable.pace.Break();
    ReleaseDrawing(gl, drawable);
    if (drawable.black != nullptr)
        wl_buffer_destroy(drawable.black);
    drawable.black = nullptr;
    const SurfaceSize& size = drawable.size;
    const int32_t stride = size.width * 4;
    const int fd = memfd_create("morrowmere-black", MFD_CLOEXEC);
    if (gl.target->shm != nullptr && fd >= 0 && size.width > 0 && size.height > 0 &&
        ftruncate(fd, static_cast<off_t>(stride) * size.height) == 0) {
        wl_shm_pool* pool = wl_shm_create_pool(gl.target->shm, fd, stride * size.height);
        drawable.black = wl_shm_pool_create_buffer(pool, 0, size.width, size.height, stride, WL_SHM_FORMAT_XRGB8888);
        wl_shm_pool_destroy(pool);
    }
    if (fd >= 0)
        close(fd);
    ApplyScale(gl, drawable);
    wl_surface_attach(drawable.surface, drawable.black, 0, 0);
    wl_surface_damage(drawable.surface, 0, 0, INT32_MAX, INT32_MAX);
    wl_surface_commit(drawable.surface);
}

// Shows what the drawable's back buffer holds and asks for the next frame first, so that the
// request goes with the same commit.
void Show(GlContextBackend& gl, Drawable& drawable)
{
    drawable.pending = wl_surface_frame(drawable.wrapper);
    if (drawable.pending != nullptr)
        wl_callback_add_listener(drawable.pending, &kFrameListener, &drawable);
    // A few at a time: a compositor that never answers (some offer to and do not) holds each one
    // asked for until the surface goes.
    struct wp_presentation_feedback* feedback = nullptr;
    if (gl.presentation != nullptr && drawable.feedbacks.size() < kFeedbacksAtOnce)
        feedback = wp_presentation_feedback(gl.presentation, drawable.surface);
    if (feedback != nullptr) {
        wp_presentation_feedback_add_listener(feedback, &kFeedbackListener, &drawable);
        drawable.feedbacks.push_back(feedback);
    }
    if (eglSwapBuffers(gl.egl, drawable.egl)) {
        drawable.pace.Shown(NowMs());
        return;
    }
    // Nothing was committed, so no callback will come: tried again later.
    if (drawable.pending != nullptr)
        wl_callback_destroy(drawable.pending);
    drawable.pending = nullptr;
    if (feedback != nullptr)
        FeedbackDone(drawable, feedback);
    drawable.pace.ShowFailed(NowMs());
    if (!drawable.saidSwapFailed) {
        char text[80];
        std::snprintf(text, sizeof text, "The picture could not be shown on a monitor (EGL error 0x%04X)",
                      static_cast<unsigned>(eglGetError()));
        Log().Record(kLogError, text);
    }
    drawable.saidSwapFailed = true;
}

void Resize(GlContextBackend& gl, Drawable& drawable, const SurfaceSize& size)
{
    drawable.size = size;
    if (drawable.pace.broken) {
        ShowBlack(gl, drawable);
        return;
    }
    ApplyScale(gl, drawable);
    wl_egl_window_resize(drawable.native, size.width, size.height, 0, 0);
}

// The scene's output went and the host gave the scene another output's surface: the window takes
// over that surface's cover (`leaving`, the covers not in the new list), with its frame callback
// and pace, so that the surface is never drawn before the compositor calls back; or else a new
// drawable there. The old surface is the host's to destroy once this list of covers is taken.
void MoveWindowIfAsked(GlContextBackend& gl, std::vector<std::unique_ptr<Drawable>>& leaving)
{
    wl_surface* surface = nullptr;
    SurfaceSize size;
    {
        std::lock_guard<std::mutex> lock(gl.target->sizeLock);
        surface = gl.target->surface;
        size = gl.target->size;
    }
    if (surface == gl.window.surface)
        return;
    eglMakeCurrent(gl.egl, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    ReleaseDrawable(gl, gl.window);
    for (std::unique_ptr<Drawable>& cover : leaving) {
        if (!cover || cover->surface != surface || cover->pace.broken)
            continue;
        gl.window = std::move(*cover);
        *cover = Drawable();
        // Their listeners were given the cover's address.
        if (gl.window.pending != nullptr)
            wl_proxy_set_user_data(reinterpret_cast<wl_proxy*>(gl.window.pending), &gl.window);
        for (struct wp_presentation_feedback* feedback : gl.window.feedbacks)
            wl_proxy_set_user_data(reinterpret_cast<wl_proxy*>(feedback), &gl.window);
    }
    if (gl.window.surface != surface) {
        gl.window.surface = surface;
        gl.window.size = size;
        if (!MakeDrawable(gl, gl.window))
            ShowBlack(gl, gl.window);
    } else if (gl.window.size != size) {
        Resize(gl, gl.window, size);
    }
    eglMakeCurrent(gl.egl, gl.window.egl, gl.window.egl, gl.context);
    eglSwapInterval(gl.egl, 0);
    MoveToArea(0, 0, size.width, size.height);
}

SurfaceSize CoverSize(const CoverWindow& cover)
{
    SurfaceSize size;
    size.width = cover.width;
    size.height = cover.height;
    size.scale = cover.scale;
    size.logicalWidth = cover.logicalWidth;
    size.logicalHeight = cover.logicalHeight;
    return size;
}

// Whether the host has news for the next frame: a size, the outputs, the end of the run.
bool NewsForNextFrame(FrameState& frame, GlContextBackend& gl)
{
    if (frame.stopFlag != 0 || frame.monitorsChanged != 0)
        return true;
    std::lock_guard<std::mutex> lock(gl.target->sizeLock);
    return gl.target->sizeChanged;
}

// Nothing shows the scene any more, or something shows it again: the host is told (it pauses the
// sound), once per change.
void ToldSeen(FrameState& frame, GlContextBackend& gl, bool seen)
{
    gl.unseen = !seen;
    if (frame.seenChanged != nullptr)
        frame.seenChanged(frame, seen);
}

// Sleeps until a frame is due and -delay allows it (true), or until the host has news for the
// next frame (false: this frame is not shown).
bool WaitForFrame(FrameState& frame, GlContextBackend& gl)
{
    // -delay counts from this frame's start; on battery the cap from the last frame shown.
    const uint32_t capPeriod = frame.capMicroseconds;
    const uint64_t notBefore = std::max(gl.frameStart + gl.target->framePeriodMicroseconds, gl.cap.Due(capPeriod));
    for (;;) {
        if (wl_display_dispatch_queue_pending(gl.display, gl.queue) < 0)
            return false;
        const std::vector<const SurfacePace*>& paces = gl.paces;
        int waitMs = -1;
        const uint32_t nowMs = NowMs();
        const bool due = FrameDue(paces.data(), paces.size(), nowMs, waitMs);
        int unseenMs = -1;
        // Seen again once the compositor says so, not merely because a surface wants a frame.
        if (gl.unseen && !SceneUnseen(paces.data(), paces.size(), gl.startedAt, nowMs, unseenMs))
            ToldSeen(frame, gl, true);
        frame.pausedInWait = frame.pausedInWait || gl.unseen;
        if (due) {
            const uint64_t now = NowMicroseconds();
            if (now >= notBefore) {
                gl.cap.Started(now, capPeriod);
                return true;
            }
            waitMs = static_cast<int>((notBefore - now + 999) / 1000);
        }
        if (NewsForNextFrame(frame, gl))
            return false;
        if (!due && !gl.unseen && gl.framed) {
            if (SceneUnseen(paces.data(), paces.size(), gl.startedAt, nowMs, unseenMs))
                ToldSeen(frame, gl, false);
            else if (waitMs < 0 || unseenMs < waitMs)
                waitMs = unseenMs;
        }
        // Callbacks that the host's thread read meanwhile are handled, and everything weighed again.
        if (wl_display_prepare_read_queue(gl.display, gl.queue) != 0) {
            if (wl_display_dispatch_queue_pending(gl.display, gl.queue) < 0)
                return false;
            continue;
        }
        if (!FlushToCompositor(gl.display)) {
            wl_display_cancel_read(gl.display);
            return false;
        }
        pollfd waits[2] = {{wl_display_get_fd(gl.display), POLLIN, 0}, {gl.target->wakeFd, POLLIN, 0}};
        if (poll(waits, 2, waitMs) > 0 && (waits[0].revents & (POLLIN | POLLHUP | POLLERR))) {
            if (wl_display_read_events(gl.display) < 0)
                return false;
        } else {
            wl_display_cancel_read(gl.display);
        }
        uint64_t count = 0;
        if (waits[1].revents & POLLIN && read(gl.target->wakeFd, &count, sizeof count) < 0) {
        }
    }
}

// RGB with 8 bits each and a 24-bit depth, without alpha: a surface with alpha would let the desktop show
// through the black bars beside a fitted picture, and deeper colour (which EGL lists first) costs
// the compositor more for nothing the scene draws. Else any without alpha, else the first.
bool ChooseConfig(GlContextBackend& gl)
{
    const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_RED_SIZE, 8,
                             EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_DEPTH_SIZE, 8, EGL_NONE};
    EGLConfig configs[64];
    EGLint count = 0;
    if (!eglChooseConfig(gl.egl, wanted, configs, 64, &count) || count < 1)
        return false;
    const auto size = [&gl](EGLConfig config, EGLint attribute) {
        EGLint value = -1;
        return eglGetConfigAttrib(gl.egl, config, attribute, &value) ? value : -1;
    };
    gl.config = configs[0];
    bool opaque = false;
    for (EGLint i = 0; i < count; ++i) {
        if (size(configs[i], EGL_ALPHA_SIZE) != 0)
            continue;
        // With the depth that the other platforms get: EGL lists the shallowest first.
        const bool eightBits = size(configs[i], EGL_RED_SIZE) == 8 && size(configs[i], EGL_GREEN_SIZE) == 8 &&
                               size(configs[i], EGL_BLUE_SIZE) == 8 && size(configs[i], EGL_DEPTH_SIZE) >= 24;
        if (!opaque || eightBits)
            gl.config = configs[i];
        opaque = true;
        if (eightBits)
            break;
    }
    return true;
}
} // namespace

bool GlCreateContext(FrameState& frame)
{
    RenderTarget* target = static_cast<RenderTarget*>(frame.window);
    frame.gl = new (std::nothrow) GlContextBackend();
    if (frame.gl == nullptr)
        return false;
    GlContextBackend& gl = *frame.gl;
    gl.display = target->display;
    gl.target = target;
    gl.queue = wl_display_create_queue(gl.display);
    gl.egl = eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, gl.display, nullptr);
    if (gl.queue == nullptr || gl.egl == EGL_NO_DISPLAY || !eglInitialize(gl.egl, nullptr, nullptr) ||
        !eglBindAPI(EGL_OPENGL_API) || !ChooseConfig(gl))
        return false;
    gl.context = eglCreateContext(gl.egl, gl.config, EGL_NO_CONTEXT, nullptr);
    if (gl.context == EGL_NO_CONTEXT)
        return false;
    {
        std::lock_guard<std::mutex> lock(target->sizeLock);
        gl.window.size = target->size;
        target->sizeChanged = false;
    }
    gl.window.surface = target->surface;
    gl.paces.assign(1, &gl.window.pace);
    if (target->presentation != nullptr) {
        gl.presentation = static_cast<wp_presentation*>(wl_proxy_create_wrapper(target->presentation));
        if (gl.presentation != nullptr)
            wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(gl.presentation), gl.queue);
    }
    return gl.window.size.width > 0 && gl.window.size.height > 0 && MakeDrawable(gl, gl.window);
}

void GlMakeCurrent(FrameState& frame)
{
    eglMakeCurrent(frame.gl->egl, frame.gl->window.egl, frame.gl->window.egl, frame.gl->context);
    // The compositor paces the frames; a swap never waits by itself.
    eglSwapInterval(frame.gl->egl, 0);
}

void GlSetSwapInterval(FrameState&, int32_t)
{
    // Frames follow the compositor's frame callbacks whatever the setting: that is its vertical
    // blank, and an output that shows nothing asks for none.
}

void GlFitDrawingArea(FrameState& frame)
{
    GlContextBackend& gl = *frame.gl;
    gl.frameStart = NowMicroseconds();
    SurfaceSize size;
    bool resized = false;
    bool moving = false;
    {
        std::lock_guard<std::mutex> lock(gl.target->sizeLock);
        resized = gl.target->sizeChanged;
        size = gl.target->size;
        moving = gl.target->surface != gl.window.surface;
        gl.target->sizeChanged = false;
    }
    // A size for another surface is taken with the move to it (TakeCovers).
    if (resized && !moving && size != gl.window.size) {
        Resize(gl, gl.window, size);
        MoveToArea(0, 0, size.width, size.height);
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
            drawable->size = CoverSize(cover);
            if (!MakeDrawable(gl, *drawable))
                ShowBlack(gl, *drawable);
        } else if (drawable->size != CoverSize(cover)) {
            Resize(gl, *drawable, CoverSize(cover));
        }
        kept.push_back(std::move(drawable));
    }
    MoveWindowIfAsked(gl, gl.covers);
    for (std::unique_ptr<Drawable>& old : gl.covers)
        if (old)
            ReleaseDrawable(gl, *old);
    gl.covers = std::move(kept);
    gl.paces.assign(1, &gl.window.pace);
    for (const std::unique_ptr<Drawable>& cover : gl.covers)
        gl.paces.push_back(&cover->pace);
    frame.coversTaken = number;
}

void GlCopyToOtherMonitors(FrameState& frame)
{
    GlContextBackend& gl = *frame.gl;
    gl.showing = WaitForFrame(frame, gl);
    if (!gl.showing)
        return;
    const PixelRect picture = {0, 0, gl.window.size.width, gl.window.size.height};
    const uint32_t now = NowMs();
    bool switched = false;
    for (std::unique_ptr<Drawable>& each : gl.covers) {
        Drawable& cover = *each;
        if (!cover.pace.Wants(now))
            continue;
        switched = true;
        if (!eglMakeCurrent(gl.egl, cover.egl, gl.window.egl, gl.context)) {
            ShowBlack(gl, cover);
            continue;
        }
        if (!cover.paced) {
            // Its frames follow the compositor's callbacks, as the window's do.
            eglSwapInterval(gl.egl, 0);
            cover.paced = true;
        }
        // Without a way to copy the picture the cover is black, still paced by its callbacks.
        if (!gl.copy.Draw(picture, cover.size.width, cover.size.height))
            glClear(GL_COLOR_BUFFER_BIT);
        Show(gl, cover);
    }
    if (switched)
        eglMakeCurrent(gl.egl, gl.window.egl, gl.window.egl, gl.context);
}

void GlSwapBuffers(FrameState& frame)
{
    GlContextBackend& gl = *frame.gl;
    if (gl.showing && gl.window.pace.Wants(NowMs()))
        Show(gl, gl.window);
    else
        glFlush();
    // The time without a word from the compositor that means "unseen" counts from the end of the
    // first frame: its swap waits for the compositor's answers about the first buffers, each as
    // late as a slow compositor is.
    if (!gl.framed)
        gl.startedAt = NowMs();
    gl.framed = true;
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
    width = frame.gl->window.size.width;
    height = frame.gl->window.size.height;
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
    gl.paces.clear();
    ReleaseDrawable(gl, gl.window);
    if (gl.presentation != nullptr)
        wl_proxy_wrapper_destroy(gl.presentation);
    if (gl.egl != EGL_NO_DISPLAY)
        eglTerminate(gl.egl);
    if (gl.queue != nullptr)
        wl_event_queue_destroy(gl.queue);
    delete frame.gl;
    frame.gl = nullptr;
}
