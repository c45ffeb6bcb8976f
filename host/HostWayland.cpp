// The screen-saver host on a Wayland session, for -fullscreen: a native client with one
// full-screen toplevel on each output, at the output's own buffer scale. The render thread is the
// X11 port's; it draws the scene on the first output's surface and copies the picture to the
// others (see GlContextEgl.cpp). The run log, the teardown, the exit statuses and the signals are
// the X11 port's: any key, a button or a pointer move of more than 4 pixels from its first
// position ends the run with status 0; SIGTERM, SIGINT and SIGHUP end it after the teardown by the
// signal; a failed start prints its kept message and ends with 1; a lost connection ends it at once.

#include "base/RunLog.h"
#include "base/SaverFrame.h"
#include "base/SettingsStore.h"
#include "gfx/WaylandTarget.h"
#include "host/CloseRules.h"
#include "host/FrameRateCounter.h"
#include "host/HackOptions.h"
#include "host/HostPosix.h"
#include "host/ProcessGlobals.h"
#include "host/RenderThread.h"
#include "host/SaverPlatform.h"
#include "host/VideoInit.h"

#include "xdg-shell-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>
#include <vector>

namespace {
// One output and the toplevel that covers it.
struct Output {
    uint32_t name = 0; // the registry's
    wl_output* output = nullptr;
    int32_t scale = 1;
    int32_t modeWidth = 0;
    int32_t modeHeight = 0;
    bool described = false; // its first "done" came
    wl_surface* surface = nullptr;
    xdg_surface* shell = nullptr;
    xdg_toplevel* toplevel = nullptr;
    int32_t width = 0; // logical, from the last configure
    int32_t height = 0;
    bool configured = false;
    bool gone = false;        // the output went; its surface waits for the render thread
    uint32_t releaseAfter = 0; // the cover list count after which the surface may go
};

struct Host {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    xdg_wm_base* shell = nullptr;
    wl_seat* seat = nullptr;
    wl_keyboard* keyboard = nullptr;
    wl_pointer* pointer = nullptr;
    std::vector<std::unique_ptr<Output>> outputs;
    Output* scene = nullptr; // the output whose surface the scene is drawn on
    WaylandTarget target = {};
    bool closeNow = false;
    bool movedBefore = false;
    wl_surface* pointerOver = nullptr; // the surface the pointer is on
    wl_surface* firstSurface = nullptr;
    wl_fixed_t firstX = 0;
    wl_fixed_t firstY = 0;
    pthread_t renderThread;
    bool started = false;
    RenderRun run;
} g_host;

// The size in buffer pixels of an output's surface: its configured size, or the output's mode
// where the compositor leaves the size to the client.
void BufferSize(const Output& output, int32_t& width, int32_t& height)
{
    width = output.width > 0 ? output.width * output.scale : output.modeWidth;
    height = output.height > 0 ? output.height * output.scale : output.modeHeight;
}

// The covers are every configured output's surface but the scene's; the render thread takes the
// list the next frame. Returns the list's number.
uint32_t HandCovers()
{
    std::vector<CoverWindow> covers;
    for (const std::unique_ptr<Output>& output : g_host.outputs) {
        if (output.get() == g_host.scene || !output->configured || output->gone)
            continue;
        CoverWindow cover;
        cover.window = reinterpret_cast<uintptr_t>(output->surface);
        BufferSize(*output, cover.width, cover.height);
        cover.scale = output->scale;
        if (cover.width > 0 && cover.height > 0)
            covers.push_back(cover);
    }
    uint32_t number = 0;
    {
        std::lock_guard<std::mutex> lock(g_host.run.frame.coversLock);
        g_host.run.frame.covers = covers;
        number = ++g_host.run.frame.coversGeneration;
    }
    g_host.run.frame.monitorsChanged = 1;
    return number;
}

void StartTheRun();

// xdg_wm_base
void Ping(void*, xdg_wm_base* shell, uint32_t serial)
{
    xdg_wm_base_pong(shell, serial);
}
const xdg_wm_base_listener kShellListener = {Ping};

// xdg_surface and xdg_toplevel
void SurfaceConfigure(void* data, xdg_surface* shell, uint32_t serial)
{
    Output& output = *static_cast<Output*>(data);
    xdg_surface_ack_configure(shell, serial);
    output.configured = true;
    if (g_host.scene == nullptr) {
        g_host.scene = &output;
        g_host.target.scale = output.scale;
        int32_t width = 0, height = 0;
        BufferSize(output, width, height);
        OfferWindowSize(g_host.run.frame, width, height);
        StartTheRun();
        return;
    }
    if (&output == g_host.scene) {
        int32_t width = 0, height = 0;
        BufferSize(output, width, height);
        g_host.target.scale = output.scale;
        OfferWindowSize(g_host.run.frame, width, height);
        return;
    }
    HandCovers();
}

void ToplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*)
{
    Output& output = *static_cast<Output*>(data);
    output.width = width;
    output.height = height;
}

void ToplevelClose(void*, xdg_toplevel*)
{
    g_host.closeNow = true;
}
const xdg_surface_listener kSurfaceListener = {SurfaceConfigure};
const xdg_toplevel_listener kToplevelListener = {ToplevelConfigure, ToplevelClose, nullptr, nullptr};

void CoverOutput(Output& output)
{
    output.surface = wl_compositor_create_surface(g_host.compositor);
    output.shell = xdg_wm_base_get_xdg_surface(g_host.shell, output.surface);
    xdg_surface_add_listener(output.shell, &kSurfaceListener, &output);
    output.toplevel = xdg_surface_get_toplevel(output.shell);
    xdg_toplevel_add_listener(output.toplevel, &kToplevelListener, &output);
    xdg_toplevel_set_title(output.toplevel, "Morrowmere");
    xdg_toplevel_set_app_id(output.toplevel, "morrowmere");
    xdg_toplevel_set_fullscreen(output.toplevel, output.output);
    wl_surface_commit(output.surface);
}

// wl_output
void OutputGeometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*, int32_t)
{
}
void OutputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t)
{
    Output& output = *static_cast<Output*>(data);
    if (flags & WL_OUTPUT_MODE_CURRENT) {
        output.modeWidth = width;
        output.modeHeight = height;
    }
}
void OutputDone(void* data, wl_output*)
{
    Output& output = *static_cast<Output*>(data);
    if (!output.described) {
        output.described = true;
        CoverOutput(output);
    } else if (output.configured) {
        // A new scale: the buffers follow.
        if (&output == g_host.scene) {
            int32_t width = 0, height = 0;
            BufferSize(output, width, height);
            g_host.target.scale = output.scale;
            OfferWindowSize(g_host.run.frame, width, height);
        } else {
            HandCovers();
        }
    }
}
void OutputScale(void* data, wl_output*, int32_t factor)
{
    static_cast<Output*>(data)->scale = std::clamp(factor, 1, 8);
}
const wl_output_listener kOutputListener = {OutputGeometry, OutputMode, OutputDone, OutputScale, nullptr, nullptr};

// Input: any key, any button, or the pointer moved past the close rule.
void KeyboardKeymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t)
{
    close(fd);
}
void KeyboardEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {}
void KeyboardLeave(void*, wl_keyboard*, uint32_t, wl_surface*) {}
void KeyboardKey(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t state)
{
    if (state == WL_KEYBOARD_KEY_STATE_PRESSED)
        g_host.closeNow = true;
}
void KeyboardModifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
void KeyboardRepeat(void*, wl_keyboard*, int32_t, int32_t) {}
const wl_keyboard_listener kKeyboardListener = {KeyboardKeymap, KeyboardEnter, KeyboardLeave,
                                                KeyboardKey,    KeyboardModifiers, KeyboardRepeat};

void Moved(wl_surface* surface, wl_fixed_t x, wl_fixed_t y)
{
    if (!g_host.movedBefore) {
        g_host.movedBefore = true;
        g_host.firstSurface = surface;
        g_host.firstX = x;
        g_host.firstY = y;
        return;
    }
    // On another output's surface, the pointer has crossed from one output to the next.
    if (surface != g_host.firstSurface ||
        MouseMoveCloses(wl_fixed_to_int(g_host.firstX), wl_fixed_to_int(g_host.firstY), wl_fixed_to_int(x),
                        wl_fixed_to_int(y)))
        g_host.closeNow = true;
}
void PointerEnter(void*, wl_pointer* pointer, uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y)
{
    // No pointer over the saver.
    wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
    g_host.pointerOver = surface;
    Moved(surface, x, y);
}
void PointerLeave(void*, wl_pointer*, uint32_t, wl_surface*)
{
    g_host.pointerOver = nullptr;
}
void PointerMotion(void*, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y)
{
    Moved(g_host.pointerOver, x, y);
}
void PointerButton(void*, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state)
{
    if (state == WL_POINTER_BUTTON_STATE_PRESSED)
        g_host.closeNow = true;
}
void PointerAxis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}
void PointerFrame(void*, wl_pointer*) {}
void PointerAxisSource(void*, wl_pointer*, uint32_t) {}
void PointerAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void PointerAxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}
const wl_pointer_listener kPointerListener = {PointerEnter, PointerLeave,      PointerMotion,   PointerButton,
                                              PointerAxis,  PointerFrame,      PointerAxisSource, PointerAxisStop,
                                              PointerAxisDiscrete, nullptr};

void SeatCapabilities(void*, wl_seat* seat, uint32_t capabilities)
{
    if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) && g_host.keyboard == nullptr) {
        g_host.keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(g_host.keyboard, &kKeyboardListener, nullptr);
    } else if (!(capabilities & WL_SEAT_CAPABILITY_KEYBOARD) && g_host.keyboard != nullptr) {
        wl_keyboard_release(g_host.keyboard);
        g_host.keyboard = nullptr;
    }
    if ((capabilities & WL_SEAT_CAPABILITY_POINTER) && g_host.pointer == nullptr) {
        g_host.pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(g_host.pointer, &kPointerListener, nullptr);
    } else if (!(capabilities & WL_SEAT_CAPABILITY_POINTER) && g_host.pointer != nullptr) {
        wl_pointer_release(g_host.pointer);
        g_host.pointer = nullptr;
    }
}
void SeatName(void*, wl_seat*, const char*) {}
const wl_seat_listener kSeatListener = {SeatCapabilities, SeatName};

// The registry
void Global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    if (std::strcmp(interface, wl_compositor_interface.name) == 0 && version >= 3) {
        g_host.compositor =
            static_cast<wl_compositor*>(wl_registry_bind(registry, name, &wl_compositor_interface, 3));
    } else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0) {
        g_host.shell = static_cast<xdg_wm_base*>(wl_registry_bind(registry, name, &xdg_wm_base_interface, 1));
        xdg_wm_base_add_listener(g_host.shell, &kShellListener, nullptr);
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && g_host.seat == nullptr && version >= 5) {
        g_host.seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 5));
        wl_seat_add_listener(g_host.seat, &kSeatListener, nullptr);
    } else if (std::strcmp(interface, wl_output_interface.name) == 0 && version >= 2) {
        std::unique_ptr<Output> output(new (std::nothrow) Output());
        if (!output)
            return;
        output->name = name;
        output->output = static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, 2));
        wl_output_add_listener(output->output, &kOutputListener, output.get());
        g_host.outputs.push_back(std::move(output));
    }
}

void GlobalRemove(void*, wl_registry*, uint32_t name)
{
    for (std::unique_ptr<Output>& output : g_host.outputs) {
        if (output->name != name || output->gone)
            continue;
        output->gone = true;
        if (output.get() == g_host.scene)
            continue; // the scene's surface stays; the compositor shows it where it can
        output->releaseAfter = HandCovers();
    }
}
const wl_registry_listener kRegistryListener = {Global, GlobalRemove};

void DestroyOutput(Output& output)
{
    if (output.toplevel != nullptr)
        xdg_toplevel_destroy(output.toplevel);
    if (output.shell != nullptr)
        xdg_surface_destroy(output.shell);
    if (output.surface != nullptr)
        wl_surface_destroy(output.surface);
    wl_output_destroy(output.output);
}

// The surfaces of outputs that went, once the render thread has taken a cover list without them
// (or, with `all`, at the end of the run). True while some still wait.
bool ReleaseGoneOutputs(bool all)
{
    const uint32_t taken = g_host.run.frame.coversTaken.load();
    bool waiting = false;
    for (auto it = g_host.outputs.begin(); it != g_host.outputs.end();) {
        Output& output = **it;
        const bool releasable = all || (output.gone && &output != g_host.scene &&
                                        static_cast<int32_t>(taken - output.releaseAfter) >= 0);
        if (releasable) {
            DestroyOutput(output);
            it = g_host.outputs.erase(it);
            continue;
        }
        waiting = waiting || (output.gone && &output != g_host.scene);
        ++it;
    }
    return waiting;
}

void StartTheRun()
{
    if (g_host.started)
        return;
    Log().Record(kLogNotify, "Run looping thread");
    g_host.target.surface = g_host.scene->surface;
    g_host.run.frame.window = &g_host.target;
    g_host.started = StartRenderThread(g_host.renderThread, g_host.run);
    if (!g_host.started) {
        Log().RecordAndKeep(kLogNotify, "Error of common initialization", "Error of initialization");
        SignalDoneEvent(g_host.run.frame.doneEvent);
        Wake(kWakeFailedStart);
    }
    HandCovers();
}
} // namespace

namespace {
int Fail(const char* text, const char* detail)
{
    std::fprintf(stderr, "morrowmere: %s%s\n", text, detail);
    return 1;
}

void DisplayLost()
{
    static const char message[] = "morrowmere: the connection to the display was lost\n";
    if (write(STDERR_FILENO, message, sizeof message - 1) < 0) {
    }
    _exit(1);
}

struct RunEnd {
    bool failedStart = false;
};

RunEnd WaitForTheEnd()
{
    RunEnd end;
    wl_display* display = g_host.display;
    bool releasing = false;
    for (;;) {
        if (g_host.closeNow)
            return end;
        while (wl_display_prepare_read(display) != 0) {
            if (wl_display_dispatch_pending(display) < 0)
                DisplayLost();
        }
        if (g_host.closeNow) {
            wl_display_cancel_read(display);
            return end;
        }
        wl_display_flush(display);
        pollfd waits[2] = {{wl_display_get_fd(display), POLLIN, 0}, {WakePipeToRead(), POLLIN, 0}};
        const int ready = poll(waits, 2, releasing ? 100 : -1);
        if (ready > 0 && (waits[0].revents & (POLLIN | POLLHUP | POLLERR))) {
            if (wl_display_read_events(display) < 0)
                DisplayLost();
        } else {
            wl_display_cancel_read(display);
        }
        if (wl_display_dispatch_pending(display) < 0)
            DisplayLost();
        releasing = ReleaseGoneOutputs(false);
        if (ready > 0 && (waits[1].revents & POLLIN)) {
            char reasons[16];
            const ssize_t count = read(WakePipeToRead(), reasons, sizeof reasons);
            for (ssize_t i = 0; i < count; ++i)
                if (reasons[i] == kWakeFailedStart)
                    end.failedStart = true;
            if (count > 0)
                return end;
        }
    }
}
} // namespace

int main(int argc, char** argv)
{
    std::signal(SIGPIPE, SIG_IGN);
    const HackOptions options = ReadHackOptions(argc, argv, nullptr);
    if (!options.error.empty()) {
        std::fprintf(stderr, "morrowmere: %s\n%s", options.error.c_str(), HackUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(HackUsage(), stdout);
        return 0;
    }
    if (options.target != HackTarget::FullScreen) {
        std::fprintf(stderr, "morrowmere: the Wayland client runs only full screen (-fullscreen)\n%s", HackUsage());
        return 2;
    }
    Log().OpenForProcess();
    CatchEndSignals();
    TakeHackOptions(options, g_host.run);
    if (!OpenWakePipe())
        return Fail("cannot create a pipe", "");
    g_host.display = wl_display_connect(nullptr);
    if (g_host.display == nullptr) {
        const char* name = std::getenv("WAYLAND_DISPLAY");
        return Fail("cannot connect to the Wayland display ", name != nullptr ? name : "wayland-0");
    }
    BeginOrderlyEnd();
    g_host.target.display = g_host.display;
    if (!CreateRunEvents(g_host.run))
        return Fail("cannot create a semaphore", "");
    g_host.registry = wl_display_get_registry(g_host.display);
    wl_registry_add_listener(g_host.registry, &kRegistryListener, nullptr);
    wl_display_roundtrip(g_host.display);
    if (g_host.compositor == nullptr || g_host.shell == nullptr) {
        wl_display_disconnect(g_host.display);
        return Fail("the compositor offers no surfaces for windows (wl_compositor, xdg_wm_base)", "");
    }
    DropStaleWakeUps();

    const RunEnd end = WaitForTheEnd();
    if (end.failedStart) {
        if (const char* kept = Log().KeptUserMessage())
            std::fprintf(stderr, "morrowmere: %s\n", kept);
    }
    if (g_host.run.frame.stopFlag == 0)
        g_host.run.frame.stopFlag = 1;
    if (g_host.started)
        WaitForDoneEvent(g_host.run.frame.doneEvent);
    Log().RecordNumber(kLogNotify, "FPS = %g", FrameRate().AverageRate());
    ReleaseGoneOutputs(true);
    if (g_host.keyboard != nullptr)
        wl_keyboard_release(g_host.keyboard);
    if (g_host.pointer != nullptr)
        wl_pointer_release(g_host.pointer);
    if (g_host.seat != nullptr)
        wl_seat_release(g_host.seat);
    xdg_wm_base_destroy(g_host.shell);
    wl_compositor_destroy(g_host.compositor);
    wl_registry_destroy(g_host.registry);
    wl_display_roundtrip(g_host.display);
    if (g_host.started)
        JoinRenderThread(g_host.renderThread);
    wl_display_disconnect(g_host.display);
    return EndHost(g_host.run, end.failedStart ? 1 : 0);
}
