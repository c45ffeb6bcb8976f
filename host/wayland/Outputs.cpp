// The outputs and the surfaces that cover them: one surface per output, at the output's own pixel
// density, the first one configured drawn on by the render thread (the scene's) and the others
// covers that show its picture. Sizes go to the render thread with their scale, and every change
// wakes it.
//
// Where the compositor offers the layer shell, each surface is a layer on its output's overlay,
// above every window and panel: the saver leaves the user's own windows as they were (a
// full-screen video stays full screen), lands on the output it names whatever the focus, and is
// not a full-screen window that window rules could make hold idle off. Elsewhere (GNOME, weston)
// each is a full-screen toplevel, activated with the launcher's token when one was given.

#include "base/SaverFrame.h"
#include "host/wayland/Shared.h"

#include "fractional-scale-v1-client-protocol.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-activation-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <new>

namespace {
SurfaceSize SizeOf(const Output& output)
{
    return SizeOnOutput(output.shape, g_host.target.viewporter != nullptr && g_host.fractionalScales != nullptr);
}

// The covers are every configured output's surface but the scene's; the render thread takes the
// list with its next frame. Returns the list's number.
uint32_t HandCovers()
{
    std::vector<CoverWindow> covers;
    for (const std::unique_ptr<Output>& output : g_host.outputs) {
        if (output.get() == g_host.scene || !output->configured || output->gone)
            continue;
        const SurfaceSize size = SizeOf(*output);
        CoverWindow cover;
        cover.window = reinterpret_cast<uintptr_t>(output->surface);
        cover.width = size.width;
        cover.height = size.height;
        cover.scale = size.scale;
        cover.logicalWidth = size.logicalWidth;
        cover.logicalHeight = size.logicalHeight;
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
    WakeRenderThread(g_host.target);
    return number;
}

// A configured surface's size or scale changed: the scene's window takes it, or the covers.
void SizeChanged(Output& output)
{
    if (!output.configured)
        return;
    if (&output != g_host.scene) {
        HandCovers();
        return;
    }
    const SurfaceSize size = SizeOf(output);
    if (size.width > 0 && size.height > 0)
        OfferSurfaceSize(g_host.target, size);
}

// xdg_wm_base
void Ping(void*, xdg_wm_base* shell, uint32_t serial)
{
    xdg_wm_base_pong(shell, serial);
}
const xdg_wm_base_listener kShellListener = {Ping};

// The compositor configured a surface (its size is in the output's shape): the first with a size
// carries the scene, and the run starts.
void Configured(Output& output)
{
    output.configured = true;
    if (g_host.scene == nullptr) {
        const SurfaceSize size = SizeOf(output);
        if (size.width <= 0 || size.height <= 0)
            return; // nothing to draw on yet; a later configure or mode brings a size
        g_host.scene = &output;
        g_host.target.surface = output.surface;
        OfferSurfaceSize(g_host.target, size);
        StartTheRun();
        HandCovers();
        return;
    }
    SizeChanged(output);
}

// xdg_surface and xdg_toplevel
void SurfaceConfigure(void* data, xdg_surface* shell, uint32_t serial)
{
    Output& output = *static_cast<Output*>(data);
    xdg_surface_ack_configure(shell, serial);
    // The launcher's token goes with the first toplevel, before its first picture.
    if (!g_host.activationToken.empty() && g_host.activation != nullptr) {
        xdg_activation_v1_activate(g_host.activation, g_host.activationToken.c_str(), output.surface);
        g_host.activationToken.clear();
    }
    Configured(output);
}

void ToplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*)
{
    Output& output = *static_cast<Output*>(data);
    output.shape.width = width;
    output.shape.height = height;
}

void ToplevelClose(void*, xdg_toplevel*)
{
    g_host.closeNow = true;
}
const xdg_surface_listener kSurfaceListener = {SurfaceConfigure};
const xdg_toplevel_listener kToplevelListener = {ToplevelConfigure, ToplevelClose, nullptr, nullptr};

// zwlr_layer_surface_v1
void LayerConfigure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width, uint32_t height)
{
    Output& output = *static_cast<Output*>(data);
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    output.shape.width = static_cast<int32_t>(std::min<uint32_t>(width, INT32_MAX));
    output.shape.height = static_cast<int32_t>(std::min<uint32_t>(height, INT32_MAX));
    Configured(output);
}

// The compositor will not show the layer again (its output is going): as when the output goes.
// Where that layer had the keyboard, a compositor may give it to none of the others (sway 1.7):
// they ask for it again, with the render thread's next commit.
void LayerClosed(void* data, zwlr_layer_surface_v1*)
{
    RemoveOutput(static_cast<Output*>(data)->name);
    for (const std::unique_ptr<Output>& output : g_host.outputs) {
        if (output->layer != nullptr && !output->gone)
            zwlr_layer_surface_v1_set_keyboard_interactivity(output->layer, 1);
    }
}
const zwlr_layer_surface_v1_listener kLayerListener = {LayerConfigure, LayerClosed};

// wp_fractional_scale_v1
void PreferredScale(void* data, wp_fractional_scale_v1*, uint32_t scale)
{
    Output& output = *static_cast<Output*>(data);
    const int32_t preferred = static_cast<int32_t>(std::min<uint32_t>(scale, 8 * 120));
    if (preferred == output.shape.preferredScale)
        return;
    output.shape.preferredScale = preferred;
    SizeChanged(output);
}
const wp_fractional_scale_v1_listener kFractionalListener = {PreferredScale};

void CoverOutput(Output& output)
{
    output.surface = wl_compositor_create_surface(g_host.compositor);
    if (g_host.fractionalScales != nullptr && g_host.target.viewporter != nullptr) {
        output.fractional = wp_fractional_scale_manager_v1_get_fractional_scale(g_host.fractionalScales, output.surface);
        wp_fractional_scale_v1_add_listener(output.fractional, &kFractionalListener, &output);
    }
    if (g_host.layerShell != nullptr) {
        // Over the whole output, panels included, with the keyboard: as a lock screen is.
        output.layer = zwlr_layer_shell_v1_get_layer_surface(g_host.layerShell, output.surface, output.output,
                                                             ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "morrowmere");
        zwlr_layer_surface_v1_add_listener(output.layer, &kLayerListener, &output);
        zwlr_layer_surface_v1_set_anchor(output.layer,
                                         ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                             ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
        zwlr_layer_surface_v1_set_size(output.layer, 0, 0);
        zwlr_layer_surface_v1_set_exclusive_zone(output.layer, -1);
        zwlr_layer_surface_v1_set_keyboard_interactivity(output.layer, 1);
    } else {
        output.shell = xdg_wm_base_get_xdg_surface(g_host.shell, output.surface);
        xdg_surface_add_listener(output.shell, &kSurfaceListener, &output);
        output.toplevel = xdg_surface_get_toplevel(output.shell);
        xdg_toplevel_add_listener(output.toplevel, &kToplevelListener, &output);
        xdg_toplevel_set_title(output.toplevel, "Morrowmere");
        xdg_toplevel_set_app_id(output.toplevel, "morrowmere");
        xdg_toplevel_set_fullscreen(output.toplevel, output.output);
    }
    wl_surface_commit(output.surface);
}

// wl_output
void OutputGeometry(void* data, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*,
                    int32_t transform)
{
    static_cast<Output*>(data)->shape.transform = transform;
}
void OutputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t)
{
    Output& output = *static_cast<Output*>(data);
    if (flags & WL_OUTPUT_MODE_CURRENT) {
        output.shape.modeWidth = width;
        output.shape.modeHeight = height;
    }
}
// A new mode, turn or scale of an output: the compositor configures the surface anew for it
// (a new logical size), which may come after the output's own events. The buffers follow once the
// compositor has answered a round trip asked for now, so that an old size never meets a new scale.
void OutputSettled(void* data, wl_callback* callback, uint32_t)
{
    Output& output = *static_cast<Output*>(data);
    wl_callback_destroy(callback);
    output.settling = nullptr;
    SizeChanged(output);
}
const wl_callback_listener kSettledListener = {OutputSettled};

void OutputDone(void* data, wl_output*)
{
    Output& output = *static_cast<Output*>(data);
    if (!output.described) {
        output.described = true;
        CoverOutput(output);
    } else if (output.settling == nullptr) {
        output.settling = wl_display_sync(g_host.display);
        wl_callback_add_listener(output.settling, &kSettledListener, &output);
    }
}
void OutputScale(void* data, wl_output*, int32_t factor)
{
    static_cast<Output*>(data)->shape.scale = std::clamp(factor, 1, 8);
}
const wl_output_listener kOutputListener = {OutputGeometry, OutputMode, OutputDone, OutputScale, nullptr, nullptr};

void DestroyOutput(Output& output)
{
    if (output.settling != nullptr)
        wl_callback_destroy(output.settling);
    if (output.fractional != nullptr)
        wp_fractional_scale_v1_destroy(output.fractional);
    if (output.layer != nullptr)
        zwlr_layer_surface_v1_destroy(output.layer);
    if (output.toplevel != nullptr)
        xdg_toplevel_destroy(output.toplevel);
    if (output.shell != nullptr)
        xdg_surface_destroy(output.shell);
    if (output.surface != nullptr)
        wl_surface_destroy(output.surface);
    wl_output_destroy(output.output);
}
} // namespace

void ListenToShell()
{
    xdg_wm_base_add_listener(g_host.shell, &kShellListener, nullptr);
}

void AddOutput(uint32_t name)
{
    std::unique_ptr<Output> output(new (std::nothrow) Output());
    if (!output)
        return;
    output->name = name;
    output->output = static_cast<wl_output*>(wl_registry_bind(g_host.registry, name, &wl_output_interface, 2));
    wl_output_add_listener(output->output, &kOutputListener, output.get());
    g_host.outputs.push_back(std::move(output));
}

// The largest output left that has a surface with a size, for the scene whose output went.
Output* LargestOutputLeft()
{
    Output* largest = nullptr;
    int64_t largestPixels = 0;
    for (const std::unique_ptr<Output>& output : g_host.outputs) {
        if (!output->configured || output->gone)
            continue;
        const SurfaceSize size = SizeOf(*output);
        const int64_t pixels = static_cast<int64_t>(size.width) * size.height;
        if (size.width > 0 && size.height > 0 && pixels > largestPixels) {
            largest = output.get();
            largestPixels = pixels;
        }
    }
    return largest;
}

void RemoveOutput(uint32_t name)
{
    for (std::unique_ptr<Output>& output : g_host.outputs) {
        if (output->name != name || output->gone)
            continue;
        output->gone = true;
        if (output.get() == g_host.scene) {
            // The scene moves to the largest output left, at its size; its old surface goes once
            // the render thread has let it go. With none left the surface stays, for the
            // compositor to show where it can.
            Output* next = LargestOutputLeft();
            if (next == nullptr)
                continue;
            g_host.scene = next;
            OfferSceneSurface(g_host.target, next->surface, SizeOf(*next));
        }
        output->releaseAfter = HandCovers();
    }
}

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
