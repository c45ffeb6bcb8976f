// The compositor's idle notifications: it says "idled" once the seat has had no input for the time
// and "resumed" at the next input, and it applies its own idle inhibitors (a full-screen video) to
// both. wayland-protocols' ext_idle_notifier_v1 where offered (kwin), else KDE's older
// org_kde_kwin_idle (sway 1.7).

#include "idle/Source.h"

#include "ext-idle-notify-v1-client-protocol.h"
#include "kde-idle-client-protocol.h"

#include <cstdlib>
#include <cstring>
#include <wayland-client.h>

struct WaylandIdle {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_seat* seat = nullptr;
    ext_idle_notifier_v1* notifier = nullptr;
    org_kde_kwin_idle* kdeIdle = nullptr;
    ext_idle_notification_v1* notification = nullptr;
    org_kde_kwin_idle_timeout* kdeTimeout = nullptr;
    // Said idle and not read yet; idle now (no input since).
    bool idle = false;
    bool idleNow = false;
};

namespace {
void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    WaylandIdle& source = *static_cast<WaylandIdle*>(data);
    // The first seat: the one a desktop session has.
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && source.seat == nullptr)
        source.seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0 && source.notifier == nullptr)
        source.notifier =
            static_cast<ext_idle_notifier_v1*>(wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, 1));
    else if (std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0 && source.kdeIdle == nullptr)
        source.kdeIdle =
            static_cast<org_kde_kwin_idle*>(wl_registry_bind(registry, name, &org_kde_kwin_idle_interface, 1));
}

void OnGlobalRemoved(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemoved};

void OnIdled(void* data, ext_idle_notification_v1*)
{
    static_cast<WaylandIdle*>(data)->idle = true;
    static_cast<WaylandIdle*>(data)->idleNow = true;
}

void OnResumed(void* data, ext_idle_notification_v1*)
{
    static_cast<WaylandIdle*>(data)->idleNow = false;
}

const ext_idle_notification_v1_listener kNotificationListener = {OnIdled, OnResumed};

void OnKdeIdle(void* data, org_kde_kwin_idle_timeout*)
{
    static_cast<WaylandIdle*>(data)->idle = true;
    static_cast<WaylandIdle*>(data)->idleNow = true;
}

void OnKdeResumed(void* data, org_kde_kwin_idle_timeout*)
{
    static_cast<WaylandIdle*>(data)->idleNow = false;
}

const org_kde_kwin_idle_timeout_listener kKdeTimeoutListener = {OnKdeIdle, OnKdeResumed};
} // namespace

WaylandIdle* OpenWaylandIdle(uint32_t idleMs, const char*& name)
{
    // Only the session's own compositor: without WAYLAND_DISPLAY the library would guess one.
    if (std::getenv("WAYLAND_DISPLAY") == nullptr)
        return nullptr;
    WaylandIdle* source = new WaylandIdle;
    source->display = wl_display_connect(nullptr);
    if (source->display == nullptr) {
        delete source;
        return nullptr;
    }
    source->registry = wl_display_get_registry(source->display);
    wl_registry_add_listener(source->registry, &kRegistryListener, source);
    wl_display_roundtrip(source->display);
    if (source->seat != nullptr && source->notifier != nullptr) {
        source->notification = ext_idle_notifier_v1_get_idle_notification(source->notifier, idleMs, source->seat);
        ext_idle_notification_v1_add_listener(source->notification, &kNotificationListener, source);
        name = "the compositor's idle notifications (ext_idle_notifier_v1)";
    } else if (source->seat != nullptr && source->kdeIdle != nullptr) {
        source->kdeTimeout = org_kde_kwin_idle_get_idle_timeout(source->kdeIdle, source->seat, idleMs);
        org_kde_kwin_idle_timeout_add_listener(source->kdeTimeout, &kKdeTimeoutListener, source);
        name = "the compositor's idle time-outs (org_kde_kwin_idle)";
    } else {
        CloseWaylandIdle(source);
        return nullptr;
    }
    if (wl_display_roundtrip(source->display) < 0) {
        CloseWaylandIdle(source);
        return nullptr;
    }
    return source;
}

int WaylandIdleFd(WaylandIdle& source)
{
    wl_display_flush(source.display);
    return wl_display_get_fd(source.display);
}

IdleNews ReadWaylandIdle(WaylandIdle& source, bool readable, std::string& problem)
{
    // A closed connection reads as an error.
    if ((readable ? wl_display_dispatch(source.display) : wl_display_dispatch_pending(source.display)) < 0) {
        problem = "the Wayland compositor has gone away";
        return IdleNews::kLost;
    }
    if (!source.idle)
        return IdleNews::kNothing;
    source.idle = false;
    return IdleNews::kIdle;
}

bool WaylandStillIdle(WaylandIdle& source)
{
    return source.idleNow;
}

void CloseWaylandIdle(WaylandIdle* source)
{
    if (source == nullptr)
        return;
    if (source->notification != nullptr)
        ext_idle_notification_v1_destroy(source->notification);
    if (source->kdeTimeout != nullptr)
        org_kde_kwin_idle_timeout_release(source->kdeTimeout);
    if (source->notifier != nullptr)
        ext_idle_notifier_v1_destroy(source->notifier);
    if (source->kdeIdle != nullptr)
        org_kde_kwin_idle_destroy(source->kdeIdle);
    if (source->seat != nullptr)
        wl_seat_destroy(source->seat);
    if (source->registry != nullptr)
        wl_registry_destroy(source->registry);
    wl_display_disconnect(source->display);
    delete source;
}
