#include "idle/SessionRules.h"
#include "idle/Source.h"

#include <systemd/sd-bus.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {
constexpr const char* kLogind = "org.freedesktop.login1";
constexpr const char* kSessionManager = "org.gnome.SessionManager";
constexpr const char* kPresencePath = "/org/gnome/SessionManager/Presence";
constexpr const char* kPresence = "org.gnome.SessionManager.Presence";
// GNOME Shell's own name for its shield; org.gnome.ScreenSaver is a small program it starts on
// demand to pass calls on, and the name other desktops' shields take.
constexpr const char* kShellShield = "org.gnome.Shell.ScreenShield";
constexpr const char* kShield = "org.gnome.ScreenSaver";
constexpr const char* kShieldPath = "/org/gnome/ScreenSaver";
// gnome-session's inhibitor flag for "do not treat the session as idle"; its presence "idle", the
// moment GNOME starts to blank the screen.
constexpr uint32_t kInhibitIdle = 8;
constexpr uint32_t kPresenceIdle = 3;
// The power manager's inhibitions (KDE Plasma's PowerDevil, Xfce's power manager): the common
// interface players use to keep the machine awake, and Plasma's own agent, which also holds what
// was asked of org.freedesktop.ScreenSaver and the battery applet's "block sleep and screen
// locking" (its flags: the session not to be interrupted, the screen to stay as it is).
constexpr const char* kPowerManagement = "org.freedesktop.PowerManagement";
constexpr const char* kPowerInhibitPath = "/org/freedesktop/PowerManagement/Inhibit";
constexpr const char* kPowerInhibit = "org.freedesktop.PowerManagement.Inhibit";
constexpr const char* kPlasmaPower = "org.kde.Solid.PowerManagement";
constexpr const char* kPolicyAgentPath = "/org/kde/Solid/PowerManagement/PolicyAgent";
constexpr const char* kPolicyAgent = "org.kde.Solid.PowerManagement.PolicyAgent";
constexpr uint32_t kPolicyInterruptSessionOrScreen = 1 | 4;
// Services whose going away lets go of what they held.
constexpr const char* kWatchedNames[] = {kSessionManager, kShellShield, kShield, kPowerManagement, kPlasmaPower};
} // namespace

struct SessionRules {
    uint32_t idleSeconds = 0;
    sd_bus* session = nullptr;
    sd_bus* system = nullptr;
    // logind's object for this session; empty where logind does not know it.
    std::string sessionPath;
    sd_bus_slot* slots[16] = {};
    int sleepFd = -1;
    bool sleeping = false;
    // What the signals said since the last read.
    SessionNews news;
    bool lockedHintChanged = false;
};

namespace {
void Said(SessionRules& rules, SaverEnd end) { rules.news.end = end; }

int OnShieldChanged(sd_bus_message* message, void* data, sd_bus_error*)
{
    int up = 0;
    if (sd_bus_message_read(message, "b", &up) >= 0) {
        auto& rules = *static_cast<SessionRules*>(data);
        if (up != 0)
            Said(rules, SaverEnd::kShield);
        else
            rules.news.letGo = true;
    }
    return 0;
}

int OnPresenceChanged(sd_bus_message* message, void* data, sd_bus_error*)
{
    uint32_t status = 0;
    if (sd_bus_message_read(message, "u", &status) >= 0) {
        auto& rules = *static_cast<SessionRules*>(data);
        if (status == kPresenceIdle)
            Said(rules, SaverEnd::kBlank);
        else
            rules.news.letGo = true;
    }
    return 0;
}

// An inhibitor let go, or a service gone with what it held: worth asking again.
int OnLetGo(sd_bus_message*, void* data, sd_bus_error*)
{
    static_cast<SessionRules*>(data)->news.letGo = true;
    return 0;
}

// The power manager says whether anything inhibits it now.
int OnPowerInhibitChanged(sd_bus_message* message, void* data, sd_bus_error*)
{
    int held = 1;
    if (sd_bus_message_read(message, "b", &held) >= 0 && held == 0)
        static_cast<SessionRules*>(data)->news.letGo = true;
    return 0;
}

int OnLock(sd_bus_message*, void* data, sd_bus_error*)
{
    Said(*static_cast<SessionRules*>(data), SaverEnd::kLock);
    return 0;
}

int OnSessionProperties(sd_bus_message*, void* data, sd_bus_error*)
{
    static_cast<SessionRules*>(data)->lockedHintChanged = true;
    return 0;
}

int OnPrepareForSleep(sd_bus_message* message, void* data, sd_bus_error*)
{
    int going = 0;
    if (sd_bus_message_read(message, "b", &going) >= 0) {
        auto& rules = *static_cast<SessionRules*>(data);
        rules.sleeping = going != 0;
        if (rules.sleeping)
            Said(rules, SaverEnd::kSleep);
        else
            rules.news.letGo = true;
    }
    return 0;
}

// A yes-or-no answer of a method without arguments, or of one that takes flags; false when the
// call fails (no such service, no answer in time).
bool Answers(sd_bus* bus, const char* service, const char* path, const char* interface, const char* method,
             const uint32_t* flags = nullptr)
{
    if (bus == nullptr)
        return false;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    int yes = 0;
    const int called = flags != nullptr
        ? sd_bus_call_method(bus, service, path, interface, method, &error, &reply, "u", *flags)
        : sd_bus_call_method(bus, service, path, interface, method, &error, &reply, nullptr);
    const bool answered = called >= 0 && sd_bus_message_read(reply, "b", &yes) >= 0;
    sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
    return answered && yes != 0;
}

bool HasOwner(sd_bus* bus, const char* name)
{
    return bus != nullptr && sd_bus_get_name_creds(bus, name, 0, nullptr) >= 0;
}

// The shield's own name where GNOME Shell runs, else whoever offers the shield's interface.
const char* ShieldService(SessionRules& rules)
{
    return HasOwner(rules.session, kShellShield) ? kShellShield : kShield;
}

bool ShieldUp(SessionRules& rules)
{
    return Answers(rules.session, ShieldService(rules), kShieldPath, kShield, "GetActive");
}

bool LockedHint(SessionRules& rules)
{
    if (rules.system == nullptr || rules.sessionPath.empty())
        return false;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    int locked = 0;
    const int got = sd_bus_get_property_trivial(rules.system, kLogind, rules.sessionPath.c_str(),
                                                "org.freedesktop.login1.Session", "LockedHint", &error, 'b', &locked);
    const bool answered = got >= 0;
    sd_bus_error_free(&error);
    return answered && locked != 0;
}

bool PresenceIdle(SessionRules& rules)
{
    if (rules.session == nullptr)
        return false;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    uint32_t status = 0;
    const int got = sd_bus_get_property_trivial(rules.session, kSessionManager, kPresencePath, kPresence, "status",
                                                &error, 'u', &status);
    const bool answered = got >= 0;
    sd_bus_error_free(&error);
    return answered && status == kPresenceIdle;
}

// One of GNOME's settings as `gsettings get` prints it ("uint32 300", "true"); empty where there is
// no such setting or no gsettings.
std::string GnomeSetting(const char* schemaAndKey)
{
    const std::string command = std::string("gsettings get ") + schemaAndKey + " 2>/dev/null";
    FILE* output = popen(command.c_str(), "r");
    if (output == nullptr)
        return {};
    char line[128] = {};
    const bool read = std::fgets(line, sizeof line, output) != nullptr;
    const int status = pclose(output);
    if (!read || status != 0)
        return {};
    std::string value(line);
    while (!value.empty() && (value.back() == '\n' || value.back() == ' '))
        value.pop_back();
    return value;
}

// GNOME's Screen Blank in seconds; 0 where it is off or unknown.
uint32_t GnomeBlankSeconds()
{
    const std::string value = GnomeSetting("org.gnome.desktop.session idle-delay");
    const char* digits = value.c_str() + (value.rfind("uint32 ", 0) == 0 ? 7 : 0);
    char* end = nullptr;
    const unsigned long seconds = std::strtoul(digits, &end, 10);
    return end != digits && *end == '\0' && seconds <= UINT32_MAX ? static_cast<uint32_t>(seconds) : 0;
}

// logind's object for this session: the one named by XDG_SESSION_ID, else the caller's own.
std::string FindSessionPath(sd_bus* system)
{
    const char* id = std::getenv("XDG_SESSION_ID");
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    const char* found = nullptr;
    const int called = id != nullptr && id[0] != '\0'
        ? sd_bus_call_method(system, kLogind, "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "GetSession",
                             &error, &reply, "s", id)
        : sd_bus_call_method(system, kLogind, "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                             "GetSessionByPID", &error, &reply, "u", static_cast<uint32_t>(getpid()));
    std::string path;
    if (called >= 0 && sd_bus_message_read(reply, "o", &found) >= 0)
        path = found;
    sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
    return path;
}

void Subscribe(SessionRules& rules)
{
    int slot = 0;
    if (rules.session != nullptr) {
        sd_bus* bus = rules.session;
        sd_bus_match_signal(bus, &rules.slots[slot++], nullptr, kShieldPath, kShield, "ActiveChanged", OnShieldChanged,
                            &rules);
        sd_bus_match_signal(bus, &rules.slots[slot++], kSessionManager, kPresencePath, kPresence, "StatusChanged",
                            OnPresenceChanged, &rules);
        sd_bus_match_signal(bus, &rules.slots[slot++], kSessionManager, "/org/gnome/SessionManager", kSessionManager,
                            "InhibitorRemoved", OnLetGo, &rules);
        sd_bus_match_signal(bus, &rules.slots[slot++], nullptr, kPowerInhibitPath, kPowerInhibit, "HasInhibitChanged",
                            OnPowerInhibitChanged, &rules);
        sd_bus_match_signal(bus, &rules.slots[slot++], nullptr, kPolicyAgentPath, kPolicyAgent, "InhibitionsChanged",
                            OnLetGo, &rules);
        for (const char* name : kWatchedNames) {
            const std::string match = std::string("type='signal',sender='org.freedesktop.DBus',"
                                                  "member='NameOwnerChanged',arg0='")
                + name + "',arg2=''";
            sd_bus_add_match(bus, &rules.slots[slot++], match.c_str(), OnLetGo, &rules);
        }
    }
    if (rules.system != nullptr) {
        sd_bus* bus = rules.system;
        sd_bus_match_signal(bus, &rules.slots[slot++], kLogind, "/org/freedesktop/login1",
                            "org.freedesktop.login1.Manager", "PrepareForSleep", OnPrepareForSleep, &rules);
        if (!rules.sessionPath.empty()) {
            const char* path = rules.sessionPath.c_str();
            sd_bus_match_signal(bus, &rules.slots[slot++], kLogind, path, "org.freedesktop.login1.Session", "Lock",
                                OnLock, &rules);
            sd_bus_match_signal(bus, &rules.slots[slot++], kLogind, path, "org.freedesktop.DBus.Properties",
                                "PropertiesChanged", OnSessionProperties, &rules);
        }
    }
}

// Reads everything waiting on a bus; a bus that has failed is dropped (its services have no say).
void Drain(sd_bus*& bus)
{
    if (bus == nullptr)
        return;
    int processed = 0;
    while ((processed = sd_bus_process(bus, nullptr)) > 0) { }
    if (processed < 0) {
        sd_bus_flush_close_unref(bus);
        bus = nullptr;
    }
}

// Fire and forget: a call whose answer nobody waits for (a lock's answer comes when it is shown).
void Ask(sd_bus* bus, const char* service, const char* path, const char* interface, const char* method)
{
    if (bus != nullptr &&
        sd_bus_call_method_async(bus, nullptr, service, path, interface, method, nullptr, nullptr, nullptr) >= 0)
        sd_bus_flush(bus);
}
} // namespace

SessionRules* OpenSessionRules(uint32_t idleSeconds)
{
    auto* rules = new SessionRules;
    rules->idleSeconds = idleSeconds;
    // A service that does not answer within a second has no say.
    if (sd_bus_open_user(&rules->session) >= 0)
        sd_bus_set_method_call_timeout(rules->session, 1000000);
    else
        rules->session = nullptr;
    if (sd_bus_open_system(&rules->system) >= 0) {
        sd_bus_set_method_call_timeout(rules->system, 1000000);
        rules->sessionPath = FindSessionPath(rules->system);
    } else {
        rules->system = nullptr;
    }
    Subscribe(*rules);
    return rules;
}

void CloseSessionRules(SessionRules* rules)
{
    if (rules == nullptr)
        return;
    LetSleep(*rules);
    for (sd_bus_slot* slot : rules->slots)
        sd_bus_slot_unref(slot);
    if (rules->session != nullptr)
        sd_bus_flush_close_unref(rules->session);
    if (rules->system != nullptr)
        sd_bus_flush_close_unref(rules->system);
    delete rules;
}

void SessionRulesFds(SessionRules& rules, pollfd (&waits)[2], int& waitMs)
{
    sd_bus* buses[2] = {rules.session, rules.system};
    waitMs = -1;
    for (int i = 0; i < 2; ++i) {
        waits[i] = {-1, 0, 0};
        if (buses[i] == nullptr)
            continue;
        const int events = sd_bus_get_events(buses[i]);
        waits[i] = {sd_bus_get_fd(buses[i]), static_cast<short>(events < 0 ? POLLIN : events), 0};
        const int ms = MsUntilBusTimeout(buses[i]);
        if (ms >= 0 && (waitMs < 0 || ms < waitMs))
            waitMs = ms;
    }
}

SessionNews ReadSessionRules(SessionRules& rules)
{
    Drain(rules.session);
    Drain(rules.system);
    if (rules.lockedHintChanged) {
        rules.lockedHintChanged = false;
        if (LockedHint(rules))
            Said(rules, SaverEnd::kLock);
        else
            rules.news.letGo = true;
    }
    const SessionNews news = rules.news;
    rules.news = SessionNews();
    return news;
}

bool SessionHoldsOff(SessionRules& rules, std::string& reason)
{
    if (Answers(rules.session, kSessionManager, "/org/gnome/SessionManager", kSessionManager, "IsInhibited",
                &kInhibitIdle))
        reason = "an idle inhibitor is held";
    else if (Answers(rules.session, kPowerManagement, kPowerInhibitPath, kPowerInhibit, "HasInhibit") ||
             Answers(rules.session, kPlasmaPower, kPolicyAgentPath, kPolicyAgent, "HasInhibition",
                     &kPolicyInterruptSessionOrScreen))
        reason = "the power manager is inhibited";
    else if (ShieldUp(rules))
        reason = "the screen shield is up";
    else if (PresenceIdle(rules))
        reason = "GNOME is blanking the screen";
    else if (LockedHint(rules))
        reason = "the session is locked";
    else if (rules.sleeping)
        reason = "the machine is going to sleep";
    else if (HasOwner(rules.session, kShellShield) && !GnomeBlankWarning(rules.idleSeconds).empty())
        reason = "GNOME blanks the screen first";
    else
        return false;
    return true;
}

void ClearTheWay(SessionRules& rules)
{
    if (rules.session == nullptr)
        return;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    int open = 0;
    const int got = sd_bus_get_property_trivial(rules.session, "org.gnome.Shell", "/org/gnome/Shell",
                                                "org.gnome.Shell", "OverviewActive", &error, 'b', &open);
    if (got >= 0 && open != 0)
        sd_bus_set_property(rules.session, "org.gnome.Shell", "/org/gnome/Shell", "org.gnome.Shell", "OverviewActive",
                            &error, "b", 0);
    sd_bus_error_free(&error);
}

void HoldSleep(SessionRules& rules)
{
    if (rules.system == nullptr || rules.sleepFd >= 0)
        return;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    int fd = -1;
    const int called = sd_bus_call_method(rules.system, kLogind, "/org/freedesktop/login1",
                                          "org.freedesktop.login1.Manager", "Inhibit", &error, &reply, "ssss", "sleep",
                                          "Morrowmere", "The screen saver ends before the machine sleeps", "delay");
    if (called >= 0 && sd_bus_message_read(reply, "h", &fd) >= 0)
        rules.sleepFd = fcntl(fd, F_DUPFD_CLOEXEC, 3);
    sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
}

void LetSleep(SessionRules& rules)
{
    if (rules.sleepFd >= 0)
        close(rules.sleepFd);
    rules.sleepFd = -1;
}

void LockAgainIfMissed(SessionRules& rules, SaverEnd end)
{
    if (end == SaverEnd::kNone || end == SaverEnd::kShield || LockedHint(rules) || ShieldUp(rules))
        return;
    if (end == SaverEnd::kLock) {
        if (!rules.sessionPath.empty())
            Ask(rules.system, kLogind, rules.sessionPath.c_str(), "org.freedesktop.login1.Session", "Lock");
        return;
    }
    // GNOME's blank and sleep lock the session where its Automatic Screen Lock is on.
    if (HasOwner(rules.session, kShellShield) && GnomeSetting("org.gnome.desktop.screensaver lock-enabled") == "true")
        Ask(rules.session, kShellShield, kShieldPath, kShield, "Lock");
}

std::string GnomeBlankWarning(uint32_t idleSeconds)
{
    const uint32_t blank = GnomeBlankSeconds();
    if (blank == 0 || blank > idleSeconds)
        return {};
    char text[320];
    std::snprintf(text, sizeof text,
                  "GNOME blanks the screen after %u %s, no later than the saver's time, so the saver would never "
                  "be seen: choose a shorter time, or a longer Screen Blank (Settings, Power)",
                  blank % 60 == 0 ? blank / 60 : blank,
                  blank % 60 == 0 ? (blank == 60 ? "minute" : "minutes") : "seconds");
    return text;
}
