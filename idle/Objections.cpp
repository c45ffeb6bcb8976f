#include "idle/Objections.h"

#include <systemd/sd-bus.h>

#include <cstdlib>
#include <string>

namespace {
// gnome-session's inhibitor flag for "do not treat the session as idle".
constexpr uint32_t kInhibitIdle = 8;

// A yes-or-no method's answer; false when the call fails (no such service, no answer in time).
bool Answers(sd_bus* bus, const char* service, const char* path, const char* interface, const char* method,
             const char* types, uint32_t argument)
{
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    int yes = 0;
    const int called = types[0] == '\0'
                           ? sd_bus_call_method(bus, service, path, interface, method, &error, &reply, nullptr)
                           : sd_bus_call_method(bus, service, path, interface, method, &error, &reply, types, argument);
    const bool answered = called >= 0 && sd_bus_message_read(reply, "b", &yes) >= 0;
    sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
    return answered && yes != 0;
}

// logind's LockedHint of this session: the one named by XDG_SESSION_ID, else the caller's own.
bool LogindSaysLocked()
{
    sd_bus* bus = nullptr;
    if (sd_bus_open_system(&bus) < 0)
        return false;
    sd_bus_set_method_call_timeout(bus, 1000000);
    std::string path = "/org/freedesktop/login1/session/auto";
    const char* id = std::getenv("XDG_SESSION_ID");
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    const char* found = nullptr;
    if (id != nullptr && id[0] != '\0' &&
        sd_bus_call_method(bus, "org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                           "GetSession", &error, &reply, "s", id) >= 0 &&
        sd_bus_message_read(reply, "o", &found) >= 0)
        path = found;
    sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
    int locked = 0;
    const bool answered = sd_bus_get_property_trivial(bus, "org.freedesktop.login1", path.c_str(),
                                                      "org.freedesktop.login1.Session", "LockedHint", &error, 'b',
                                                      &locked) >= 0;
    sd_bus_error_free(&error);
    sd_bus_flush_close_unref(bus);
    return answered && locked != 0;
}
} // namespace

bool SomethingObjects(sd_bus* session, std::string& reason)
{
    if (session != nullptr) {
        if (Answers(session, "org.gnome.SessionManager", "/org/gnome/SessionManager", "org.gnome.SessionManager",
                    "IsInhibited", "u", kInhibitIdle)) {
            reason = "an idle inhibitor is held";
            return true;
        }
        if (Answers(session, "org.gnome.ScreenSaver", "/org/gnome/ScreenSaver", "org.gnome.ScreenSaver", "GetActive",
                    "", 0)) {
            reason = "the screen shield is up";
            return true;
        }
    }
    if (LogindSaysLocked()) {
        reason = "the session is locked";
        return true;
    }
    return false;
}
