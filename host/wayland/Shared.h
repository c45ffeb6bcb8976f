#pragma once
// What the files of the native Wayland client's host share, its state and the functions they call
// by: the outputs and the surfaces that cover them (Outputs.cpp), the seat's input (Input.cpp), the
// render thread's start (RunStart.cpp), and the registry, the loop and the run (Host.cpp).
// Everything here runs on the host's thread; the render thread sees only the RenderTarget and the
// frame's cover list.

#include "host/wayland/RenderTarget.h"
#include "host/RenderThread.h"

#include <cstdint>
#include <memory>
#include <pthread.h>
#include <string>
#include <vector>

struct wl_callback;
struct wl_compositor;
struct wl_display;
struct wl_keyboard;
struct wl_output;
struct wl_pointer;
struct wl_registry;
struct wl_seat;
struct wl_surface;
struct wp_fractional_scale_manager_v1;
struct wl_touch;
struct wp_fractional_scale_v1;
struct xdg_activation_v1;
struct xdg_surface;
struct xdg_toplevel;
struct xdg_wm_base;
struct zwlr_layer_shell_v1;
struct zwlr_layer_surface_v1;

// One output and the surface that covers it: a layer surface on its overlay layer where the
// compositor offers the layer shell, else a full-screen toplevel.
struct Output {
    uint32_t name = 0; // the registry's
    wl_output* output = nullptr;
    // The output's mode, transform and scale, and the surface's configured size and preferred
    // scale: what its buffers' size is made of.
    OutputShape shape;
    bool described = false; // its first "done" came
    wl_surface* surface = nullptr;
    xdg_surface* shell = nullptr;
    xdg_toplevel* toplevel = nullptr;
    zwlr_layer_surface_v1* layer = nullptr;
    wp_fractional_scale_v1* fractional = nullptr;
    wl_callback* settling = nullptr; // the round trip after the output changed
    bool configured = false;
    bool gone = false;          // the output went; its surface waits for the render thread
    uint32_t releaseAfter = 0;  // the cover list count after which the surface may go
};

struct WaylandHost {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    xdg_wm_base* shell = nullptr;
    zwlr_layer_shell_v1* layerShell = nullptr; // preferred to `shell` where offered
    xdg_activation_v1* activation = nullptr;
    wp_fractional_scale_manager_v1* fractionalScales = nullptr; // with the target's viewporter
    wl_seat* seat = nullptr;
    wl_keyboard* keyboard = nullptr;
    wl_pointer* pointer = nullptr;
    wl_touch* touch = nullptr;
    std::vector<std::unique_ptr<Output>> outputs;
    Output* scene = nullptr; // the output whose surface the scene is drawn on
    RenderTarget target;
    bool closeNow = false;
    // Started with a connection of its own in WAYLAND_SOCKET, as a lock screen starts the program
    // that draws its background: the connection's end is the run's normal end.
    bool ownSocket = false;
    // XDG_ACTIVATION_TOKEN, from the launcher: handed to the compositor with the first toplevel.
    std::string activationToken;
    pthread_t renderThread;
    bool started = false;
    RenderRun run;
};
// The one host of the process, defined here so that no file of the host owns it.
inline WaylandHost g_host;

// Outputs.cpp: an output the registry offers (bound, then covered once described); one it
// took back; the surfaces of outputs that went, once the render thread has let them go (all at
// the end of the run): true while some still wait.
void ListenToShell();
void AddOutput(uint32_t name);
void RemoveOutput(uint32_t name);
bool ReleaseGoneOutputs(bool all);

// Input.cpp: the seat's keyboard, pointer and touch, bound as the seat offers them; any
// key, a button, a touch or the pointer moved past the close rule sets `closeNow`.
void AddSeat(uint32_t name);
void ReleaseInput();

// RunStart.cpp: starts the render thread on the scene's surface, once.
void StartTheRun();
