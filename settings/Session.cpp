#include "settings/Session.h"

#include <gio/gio.h>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {
constexpr const char* kInstalled = "/usr/libexec/xscreensaver/";

// The pid in the watcher's lock (it writes its own there), if that process is the watcher.
pid_t RunningWatcher()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || runtime[0] != '/')
        return 0;
    std::ifstream lock(std::string(runtime) + "/morrowmere-idle.lock");
    long pid = 0;
    if (!(lock >> pid) || pid <= 1 || pid > 4194304)
        return 0;
    // A pid from a watcher long gone may name another program now; one that has ended but is not
    // reaped yet ("Z") is gone too.
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const size_t end = line.rfind(')');
    const bool ours = line.find("(morrowmere-idle)") != std::string::npos && end + 2 < line.size() &&
                      line[end + 2] != 'Z';
    return ours ? static_cast<pid_t>(pid) : 0;
}

// Whether a process of this user runs the program of that name.
bool UserRuns(const char* program)
{
    DIR* processes = opendir("/proc");
    if (processes == nullptr)
        return false;
    bool found = false;
    while (dirent* entry = readdir(processes)) {
        if (entry->d_name[0] < '1' || entry->d_name[0] > '9')
            continue;
        const std::string folder = std::string("/proc/") + entry->d_name;
        std::ifstream comm(folder + "/comm");
        std::string name;
        if (!std::getline(comm, name) || name != program)
            continue;
        std::ifstream status(folder + "/status");
        for (std::string line; std::getline(status, line);) {
            unsigned long real = 0;
            if (std::sscanf(line.c_str(), "Uid: %lu", &real) == 1) {
                found = real == getuid();
                break;
            }
        }
        if (found)
            break;
    }
    closedir(processes);
    return found;
}

bool DesktopIs(const char* name)
{
    const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
    if (desktops == nullptr)
        return false;
    // A list such as "ubuntu:GNOME": each name whole.
    const std::string list = std::string(":") + desktops + ":";
    return list.find(std::string(":") + name + ":") != std::string::npos;
}
} // namespace

std::string ProgramPath(const char* name)
{
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length > 0) {
        self[length] = '\0';
        std::string beside(self);
        beside.replace(beside.rfind('/') + 1, std::string::npos, name);
        if (access(beside.c_str(), X_OK) == 0)
            return beside;
    }
    return std::string(kInstalled) + name;
}

bool StartWatcher(std::string& problem)
{
    const std::string path = ProgramPath("morrowmere-idle");
    if (access(path.c_str(), X_OK) != 0) {
        problem = path + ": " + std::strerror(errno);
        return false;
    }
    // Started as the session starts it, a child of nobody here: it outlives the window, which
    // never has to reap it. Between fork and exec only calls safe there.
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    const pid_t child = fork();
    if (child < 0) {
        problem = std::strerror(errno);
        return false;
    }
    if (child == 0) {
        setsid();
        if (fork() == 0)
            execv(argv[0], argv);
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}

void StopWatcher()
{
    const pid_t pid = RunningWatcher();
    if (pid == 0 || kill(pid, SIGTERM) != 0)
        return;
    // It ends its saver first; a new watcher started before it is gone would find the lock taken.
    for (int waited = 0; waited < 150 && RunningWatcher() == pid; ++waited)
        g_usleep(20000);
}

int GnomeBlankSeconds()
{
    if (!DesktopIs("GNOME"))
        return 0;
    // Looked up first: asking GSettings for a schema that is not installed ends the program.
    GSettingsSchemaSource* schemas = g_settings_schema_source_get_default();
    GSettingsSchema* schema =
        schemas != nullptr ? g_settings_schema_source_lookup(schemas, "org.gnome.desktop.session", TRUE) : nullptr;
    if (schema == nullptr)
        return 0;
    int seconds = 0;
    if (g_settings_schema_has_key(schema, "idle-delay")) {
        GSettings* session = g_settings_new("org.gnome.desktop.session");
        seconds = static_cast<int>(g_settings_get_uint(session, "idle-delay"));
        g_object_unref(session);
    }
    g_settings_schema_unref(schema);
    return seconds;
}

std::string HowItStartsHere()
{
    if (UserRuns("xscreensaver"))
        return "XScreenSaver runs here: its settings (xscreensaver-settings) choose when the saver starts, and "
               "the idle watcher stays quiet.";
    if (DesktopIs("GNOME"))
        return "On GNOME the idle watcher starts it. Choose a time shorter than Settings \u2192 Power \u2192 "
               "Screen Blank: GNOME's blank and lock end the saver, and with a time not shorter it never starts.";
    if (DesktopIs("KDE"))
        return "On KDE Plasma the idle watcher starts it. Plasma's own screen locking and energy saving "
               "still come at their times (System Settings \u2192 Screen Locking, Power Management).";
    if (DesktopIs("sway"))
        return "On sway, swayidle can start it instead (man 6 morrowmere); use that or the idle watcher, not "
               "both.";
    if (std::getenv("WAYLAND_DISPLAY") != nullptr)
        return "The idle watcher starts it where the compositor tells of idle time; else have your idle daemon "
               "run morrowmere -fullscreen.";
    return "The idle watcher starts it from the X server's idle time; a locker started by xss-lock still locks.";
}
