// GNOME's idle monitor: mutter keeps the seat's idle time and fires a watch on the session bus each
// time it reaches the watch's interval. Reaching it again needs input first (the idle time starts
// again from 0), which is the watcher's "once an idle period".

#include "idle/Source.h"

#include <systemd/sd-bus.h>

#include <cstdint>
#include <cstring>
#include <ctime>
#include <poll.h>

namespace {
constexpr const char* kService = "org.gnome.Mutter.IdleMonitor";
constexpr const char* kPath = "/org/gnome/Mutter/IdleMonitor/Core";
} // namespace

struct MutterIdle {
    sd_bus* bus = nullptr;
    sd_bus_slot* fired = nullptr;
    sd_bus_slot* owner = nullptr;
    uint32_t watch = 0;
    bool idle = false;
    bool gone = false;
};

namespace {
int OnWatchFired(sd_bus_message* message, void* data, sd_bus_error*)
{
    MutterIdle& source = *static_cast<MutterIdle*>(data);
    uint32_t id = 0;
    if (sd_bus_message_read(message, "u", &id) >= 0 && id == source.watch)
        source.idle = true;
    return 0;
}

// NameOwnerChanged (name, old owner, new owner) of the idle monitor: an empty new owner is mutter
// gone (its watches go with it).
int OnOwnerChanged(sd_bus_message* message, void* data, sd_bus_error*)
{
    const char* name = nullptr;
    const char* before = nullptr;
    const char* after = nullptr;
    if (sd_bus_message_read(message, "sss", &name, &before, &after) >= 0 && after[0] == '\0')
        static_cast<MutterIdle*>(data)->gone = true;
    return 0;
}
} // namespace

MutterIdle* OpenMutterIdle(sd_bus* bus, uint32_t idleMs)
{
    MutterIdle* source = new MutterIdle;
    source->bus = bus;
    // Subscribed before the watch is made, so that no firing falls between the two.
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    bool ok = sd_bus_match_signal(bus, &source->fired, kService, kPath, kService, "WatchFired", OnWatchFired,
                                  source) >= 0 &&
              sd_bus_add_match(bus, &source->owner,
                               "type='signal',sender='org.freedesktop.DBus',interface='org.freedesktop.DBus',"
                               "member='NameOwnerChanged',arg0='org.gnome.Mutter.IdleMonitor'",
                               OnOwnerChanged, source) >= 0 &&
              sd_bus_call_method(bus, kService, kPath, kService, "AddIdleWatch", &error, &reply, "t",
                                 static_cast<uint64_t>(idleMs)) >= 0 &&
              sd_bus_message_read(reply, "u", &source->watch) >= 0;
    sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
    if (!ok) {
        CloseMutterIdle(source);
        return nullptr;
    }
    return source;
}

int MutterIdleFd(MutterIdle& source, short& events, int& waitMs)
{
    const int wanted = sd_bus_get_events(source.bus);
    events = static_cast<short>(wanted < 0 ? POLLIN : wanted);
    waitMs = MsUntilBusTimeout(source.bus);
    return sd_bus_get_fd(source.bus);
}

int MsUntilBusTimeout(sd_bus* bus)
{
    uint64_t due = 0;
    if (bus == nullptr || sd_bus_get_timeout(bus, &due) < 0 || due == UINT64_MAX)
        return -1;
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t nowUs = static_cast<uint64_t>(now.tv_sec) * 1000000u + static_cast<uint64_t>(now.tv_nsec) / 1000u;
    const uint64_t ms = due <= nowUs ? 0 : (due - nowUs + 999) / 1000;
    return ms > 60000 ? 60000 : static_cast<int>(ms);
}

IdleNews ReadMutterIdle(MutterIdle& source, std::string& problem)
{
    for (;;) {
        const int processed = sd_bus_process(source.bus, nullptr);
        if (processed < 0) {
            problem = "the session bus has gone away";
            return IdleNews::kLost;
        }
        if (processed == 0)
            break;
    }
    if (source.gone) {
        problem = "GNOME's idle monitor (org.gnome.Mutter.IdleMonitor) has gone away";
        return IdleNews::kLost;
    }
    if (!source.idle)
        return IdleNews::kNothing;
    source.idle = false;
    return IdleNews::kIdle;
}

bool MutterStillIdle(MutterIdle& source, uint32_t idleMs)
{
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    uint64_t idle = 0;
    const bool answered = sd_bus_call_method(source.bus, kService, kPath, kService, "GetIdletime", &error, &reply,
                                             nullptr) >= 0 &&
                          sd_bus_message_read(reply, "t", &idle) >= 0;
    sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
    return answered && idle >= idleMs;
}

void CloseMutterIdle(MutterIdle* source)
{
    if (source == nullptr)
        return;
    sd_bus_slot_unref(source->fired);
    sd_bus_slot_unref(source->owner);
    delete source;
}
