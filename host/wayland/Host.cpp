// The screen-saver host on a Wayland session, for -fullscreen: a native client with one surface
// on each output, on the overlay layer or else a full-screen toplevel (Outputs.cpp), ended
// by the seat's input (Input.cpp). The render thread is the X11 port's; it draws the scene
// on one output's surface and copies the picture to the others (see GlContext.cpp). The run
// log, the teardown, the exit statuses and the signals are the X11 port's: any key, a button, a
// touch or a pointer move of more than 4 pixels from its first position ends the run with status
// 0, and so does the compositor's request to close; SIGTERM, SIGINT and SIGHUP end it after the
// teardown by the signal; a failed start prints its kept message and ends with 1. A lost
// connection or a protocol error ends it at once with 1, saying which on stderr and in the run
// log.
//
// A lock screen starts the program that draws its background with a connection of its own in
// WAYLAND_SOCKET, gives it no input, and closes the connection when it is done with it: then the
// run ends after its teardown with status 0, and a signal ends it as anywhere else.

#include "base/RunLog.h"
#include "base/SaverFrame.h"
#include "host/FrameRateCounter.h"
#include "host/linux/HackOptions.h"
#include "host/linux/Host.h"
#include "host/PowerSource.h"
#include "host/ProcessGlobals.h"
#include "host/SaverPlatform.h"
#include "host/wayland/Shared.h"

#include "fractional-scale-v1-client-protocol.h"
#include "presentation-time-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-activation-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

#include <wayland-client.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {
// The registry
void Global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    if (std::strcmp(interface, wl_compositor_interface.name) == 0 && version >= 3) {
        g_host.compositor =
            static_cast<wl_compositor*>(wl_registry_bind(registry, name, &wl_compositor_interface, 3));
    } else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0) {
        g_host.shell = static_cast<xdg_wm_base*>(wl_registry_bind(registry, name, &xdg_wm_base_interface, 1));
        ListenToShell();
    } else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0) {
        g_host.layerShell =
            static_cast<zwlr_layer_shell_v1*>(wl_registry_bind(registry, name, &zwlr_layer_shell_v1_interface, 1));
    } else if (std::strcmp(interface, xdg_activation_v1_interface.name) == 0) {
        g_host.activation =
            static_cast<xdg_activation_v1*>(wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
    } else if (std::strcmp(interface, wl_shm_interface.name) == 0) {
        g_host.target.shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    } else if (std::strcmp(interface, wp_viewporter_interface.name) == 0) {
        g_host.target.viewporter =
            static_cast<wp_viewporter*>(wl_registry_bind(registry, name, &wp_viewporter_interface, 1));
    } else if (std::strcmp(interface, wp_presentation_interface.name) == 0) {
        g_host.target.presentation =
            static_cast<wp_presentation*>(wl_registry_bind(registry, name, &wp_presentation_interface, 1));
    } else if (std::strcmp(interface, wp_fractional_scale_manager_v1_interface.name) == 0) {
        g_host.fractionalScales = static_cast<wp_fractional_scale_manager_v1*>(
            wl_registry_bind(registry, name, &wp_fractional_scale_manager_v1_interface, 1));
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && version >= 5) {
        AddSeat(name);
    } else if (std::strcmp(interface, wl_output_interface.name) == 0 && version >= 2) {
        AddOutput(name);
    }
}

void GlobalRemove(void*, wl_registry*, uint32_t name)
{
    RemoveOutput(name);
}
const wl_registry_listener kRegistryListener = {Global, GlobalRemove};

int Fail(const char* text, const char* detail)
{
    std::fprintf(stderr, "morrowmere: %s%s\n", text, detail);
    return 1;
}

// The connection ended under the run: a protocol error names the object and the code, anything
// else the system's reason. Said on stderr and in the run log; the run ends at once, as nothing
// more can be shown.
[[noreturn]] void ConnectionEnded()
{
    const int error = wl_display_get_error(g_host.display);
    char text[256];
    if (error == EPROTO) {
        const wl_interface* interface = nullptr;
        uint32_t id = 0;
        const uint32_t code = wl_display_get_protocol_error(g_host.display, &interface, &id);
        std::snprintf(text, sizeof text, "the Wayland compositor ended the connection: protocol error %u on %s@%u",
                      code, interface != nullptr ? interface->name : "an unknown object", id);
    } else if (g_host.ownSocket) {
        std::snprintf(text, sizeof text, "the Wayland connection given in WAYLAND_SOCKET failed: %s",
                      std::strerror(error != 0 ? error : EPIPE));
    } else {
        std::snprintf(text, sizeof text, "the connection to the Wayland compositor was lost: %s",
                      std::strerror(error != 0 ? error : EPIPE));
    }
    Log().Record(kLogError, text);
    std::fprintf(stderr, "morrowmere: %s\n", text);
    std::fflush(stderr);
    _exit(1);
}

struct RunEnd {
    bool failedStart = false;
    bool connectionClosed = false; // by the lock screen that gave the connection
};

// The connection ended under the run. Where a lock screen gave it, the lock screen closing its end
// is the end of the run (true), which goes on to its teardown: met on a read as the end of the
// stream (which the library reports as EPIPE) or a reset. Anything else is a failure and ends the
// run at once (ConnectionEnded): a protocol error, a descriptor that is no socket or is closed,
// any end of an ordinary connection.
bool ClosedByLockScreen()
{
    const int error = wl_display_get_error(g_host.display);
    if (!g_host.ownSocket || (error != EPIPE && error != ECONNRESET))
        ConnectionEnded();
    Log().Record(kLogNotify, "The connection given to the saver was closed: the run ends");
    return true;
}

RunEnd WaitForTheEnd()
{
    RunEnd end;
    wl_display* display = g_host.display;
    bool releasing = false;
    for (;;) {
        if (g_host.closeNow)
            return end;
        while (wl_display_prepare_read(display) != 0) {
            if (wl_display_dispatch_pending(display) < 0) {
                end.connectionClosed = ClosedByLockScreen();
                return end;
            }
        }
        if (g_host.closeNow) {
            wl_display_cancel_read(display);
            return end;
        }
        // A flush that meets a closed connection (EPIPE) is not the end yet: the compositor may
        // have sent a protocol error before closing, which the read below finds.
        if (!FlushToCompositor(display) && wl_display_get_error(display) != 0) {
            wl_display_cancel_read(display);
            end.connectionClosed = ClosedByLockScreen();
            return end;
        }
        pollfd waits[2] = {{wl_display_get_fd(display), POLLIN, 0}, {WakePipeToRead(), POLLIN, 0}};
        const int ready = poll(waits, 2, releasing ? 100 : -1);
        if (ready > 0 && (waits[0].revents & (POLLIN | POLLHUP | POLLERR))) {
            if (wl_display_read_events(display) < 0) {
                end.connectionClosed = ClosedByLockScreen();
                return end;
            }
        } else {
            wl_display_cancel_read(display);
        }
        if (wl_display_dispatch_pending(display) < 0) {
            end.connectionClosed = ClosedByLockScreen();
            return end;
        }
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
    // The compositor's frame callbacks pace the frames: no rest, unless -delay asks for one.
    g_host.run.restMicroseconds = 0;
    g_host.target.framePeriodMicroseconds = options.delayGiven ? options.delayMicroseconds : 0;
    g_host.run.frame.seenChanged = &QuietWhileUnseen;
    g_host.run.frame.pacedBySurface = true;
    if (!OpenWakePipe())
        return Fail("cannot create a pipe", "");
    g_host.target.wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (g_host.target.wakeFd < 0)
        return Fail("cannot create an event counter: ", std::strerror(errno));
    // Read before connecting: the connection takes WAYLAND_SOCKET out of the environment.
    const char* socket = std::getenv("WAYLAND_SOCKET");
    g_host.ownSocket = socket != nullptr && socket[0] != '\0';
    // The token is the launcher's for this program alone: it goes no further.
    if (const char* token = std::getenv("XDG_ACTIVATION_TOKEN")) {
        g_host.activationToken = token;
        unsetenv("XDG_ACTIVATION_TOKEN");
    }
    g_host.display = wl_display_connect(nullptr);
    if (g_host.display == nullptr) {
        if (g_host.ownSocket)
            return Fail("cannot use the Wayland connection given in WAYLAND_SOCKET: ", socket);
        const char* name = std::getenv("WAYLAND_DISPLAY");
        return Fail("cannot connect to the Wayland display ", name != nullptr ? name : "wayland-0");
    }
    BeginOrderlyEnd();
    g_host.target.display = g_host.display;
    if (!CreateRunEvents(g_host.run))
        return Fail("cannot create a semaphore", "");
    g_host.registry = wl_display_get_registry(g_host.display);
    wl_registry_add_listener(g_host.registry, &kRegistryListener, nullptr);
    if (wl_display_roundtrip(g_host.display) < 0 && ClosedByLockScreen()) {
        wl_display_disconnect(g_host.display);
        return 0;
    }
    if (g_host.compositor == nullptr || (g_host.shell == nullptr && g_host.layerShell == nullptr)) {
        wl_display_disconnect(g_host.display);
        return Fail("the compositor offers no surfaces to cover its outputs with (wl_compositor, and "
                    "zwlr_layer_shell_v1 or xdg_wm_base)",
                    "");
    }
    DropStaleWakeUps();
    StartPowerWatch(g_host.run.frame);

    const RunEnd end = WaitForTheEnd();
    if (end.failedStart) {
        if (const char* kept = Log().KeptUserMessage())
            std::fprintf(stderr, "morrowmere: %s\n", kept);
    }
    if (g_host.run.frame.stopFlag == 0)
        g_host.run.frame.stopFlag = 1;
    WakeRenderThread(g_host.target);
    if (g_host.started)
        WaitForDoneEvent(g_host.run.frame.doneEvent);
    StopPowerWatch();
    Log().RecordNumber(kLogNotify, "FPS = %g", FrameRate().AverageRate());
    ReleaseGoneOutputs(true);
    ReleaseInput();
    if (g_host.fractionalScales != nullptr)
        wp_fractional_scale_manager_v1_destroy(g_host.fractionalScales);
    if (g_host.activation != nullptr)
        xdg_activation_v1_destroy(g_host.activation);
    if (g_host.layerShell != nullptr)
        wl_proxy_destroy(reinterpret_cast<wl_proxy*>(g_host.layerShell));
    if (g_host.target.viewporter != nullptr)
        wp_viewporter_destroy(g_host.target.viewporter);
    if (g_host.target.presentation != nullptr)
        wp_presentation_destroy(g_host.target.presentation);
    if (g_host.target.shm != nullptr)
        wl_shm_destroy(g_host.target.shm);
    if (g_host.shell != nullptr)
        xdg_wm_base_destroy(g_host.shell);
    wl_compositor_destroy(g_host.compositor);
    wl_registry_destroy(g_host.registry);
    if (!end.connectionClosed)
        wl_display_roundtrip(g_host.display);
    if (g_host.started)
        JoinRenderThread(g_host.renderThread);
    wl_display_disconnect(g_host.display);
    close(g_host.target.wakeFd);
    return EndHost(g_host.run, end.failedStart ? 1 : 0);
}
