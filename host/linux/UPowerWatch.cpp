// The power source on Linux: UPower's OnBattery property, read over the system bus with sd-bus,
// at the start and at each change, on a thread of its own so that neither a slow bus nor a
// service being started on demand holds up the run. Every call is asynchronous, answered in the
// thread's own poll, which the end of the run wakes: a bus that never answers (not even its
// greeting) holds up neither the run nor its end.

#include "host/PowerSource.h"

#include "host/linux/Host.h"

#include <systemd/sd-bus.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {
constexpr const char* kService = "org.freedesktop.UPower";
constexpr const char* kPath = "/org/freedesktop/UPower";

struct PowerWatch {
    FrameState* frame = nullptr;
    int stopFd = -1;
    pthread_t thread{};
    bool running = false;
};
PowerWatch g_watch;

// PropertiesChanged (interface, changed values, invalidated names): only UPower's own OnBattery.
int OnPropertiesChanged(sd_bus_message* message, void*, sd_bus_error*)
{
    const char* interface = nullptr;
    if (sd_bus_message_read(message, "s", &interface) < 0 || std::strcmp(interface, kService) != 0)
        return 0;
    if (sd_bus_message_enter_container(message, 'a', "{sv}") < 0)
        return 0;
    while (sd_bus_message_enter_container(message, 'e', "sv") > 0) {
        const char* name = nullptr;
        if (sd_bus_message_read(message, "s", &name) < 0)
            return 0;
        int onBattery = 0;
        if (std::strcmp(name, "OnBattery") == 0 && sd_bus_message_read(message, "v", "b", &onBattery) >= 0)
            TellPowerSource(*g_watch.frame, onBattery != 0);
        else if (sd_bus_message_skip(message, "v") < 0)
            return 0;
        if (sd_bus_message_exit_container(message) < 0)
            return 0;
    }
    return 0;
}

// The answer to the first reading of OnBattery; an error (no UPower, no answer in time) leaves the
// run uncapped.
int OnBatteryRead(sd_bus_message* reply, void*, sd_bus_error*)
{
    int onBattery = 0;
    if (!sd_bus_message_is_method_error(reply, nullptr) && sd_bus_message_read(reply, "v", "b", &onBattery) >= 0)
        TellPowerSource(*g_watch.frame, onBattery != 0);
    return 0;
}

// Milliseconds until the bus wants attention with no event (a call's time-out), or -1.
int BusWaitMs(sd_bus* bus)
{
    uint64_t due = 0;
    if (sd_bus_get_timeout(bus, &due) < 0 || due == UINT64_MAX)
        return -1;
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t nowUs = static_cast<uint64_t>(now.tv_sec) * 1000000u + static_cast<uint64_t>(now.tv_nsec) / 1000u;
    if (due <= nowUs)
        return 0;
    const uint64_t waitMs = (due - nowUs + 999) / 1000;
    return waitMs > 60000 ? 60000 : static_cast<int>(waitMs);
}

void* WatchPowerSource(void*)
{
    sd_bus* bus = nullptr;
    if (sd_bus_open_system(&bus) < 0)
        return nullptr;
    // A service that does not answer soon leaves the run uncapped.
    sd_bus_set_method_call_timeout(bus, 2000000);
    // Subscribed before the first reading, so that no change falls between the two: the bus
    // handles the two in the order they are sent.
    if (sd_bus_match_signal_async(bus, nullptr, nullptr, kPath, "org.freedesktop.DBus.Properties",
                                  "PropertiesChanged", OnPropertiesChanged, nullptr, nullptr) < 0 ||
        sd_bus_call_method_async(bus, nullptr, kService, kPath, "org.freedesktop.DBus.Properties", "Get",
                                 OnBatteryRead, nullptr, "ss", kService, "OnBattery") < 0) {
        sd_bus_close_unref(bus);
        return nullptr;
    }
    // Where UPower is missing now, its changes are still taken should it start later.
    for (;;) {
        const int processed = sd_bus_process(bus, nullptr);
        if (processed < 0)
            break;
        if (processed > 0)
            continue;
        const int events = sd_bus_get_events(bus);
        if (events < 0)
            break;
        pollfd waits[2] = {{sd_bus_get_fd(bus), static_cast<short>(events), 0}, {g_watch.stopFd, POLLIN, 0}};
        if (poll(waits, 2, BusWaitMs(bus)) < 0 && errno != EINTR)
            break;
        if (waits[1].revents & POLLIN)
            break;
    }
    // Nothing is left to send that matters, and a flush would wait for a bus that does not answer.
    sd_bus_close_unref(bus);
    return nullptr;
}
} // namespace

void StartPowerWatch(FrameState& frame)
{
    if (g_watch.running || !BatteryCapWanted())
        return;
    g_watch.frame = &frame;
    g_watch.stopFd = eventfd(0, EFD_CLOEXEC);
    if (g_watch.stopFd < 0)
        return;
    g_watch.running = StartThreadWithoutSignals(g_watch.thread, WatchPowerSource, nullptr);
    if (!g_watch.running) {
        close(g_watch.stopFd);
        g_watch.stopFd = -1;
    }
}

void StopPowerWatch()
{
    if (!g_watch.running)
        return;
    const uint64_t one = 1;
    if (write(g_watch.stopFd, &one, sizeof one) < 0) {
    }
    pthread_join(g_watch.thread, nullptr);
    close(g_watch.stopFd);
    g_watch.stopFd = -1;
    g_watch.running = false;
}
