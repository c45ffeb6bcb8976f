// morrowmere-idle: starts `morrowmere -fullscreen` when the user has been away for the idle time
// they chose, on desktops that start no screen saver of their own (GNOME above all). It runs in the
// user's session from an autostart entry and does nothing until the user has chosen a time
// (`morrowmere-idle --after MINUTES`). It listens to the desktop's own idle source; after each run
// of the saver it waits for the user to come back and be away once more. The session's own rules
// come first: a lock, GNOME's blank and sleep end the saver, and nothing starts under them.

#include "idle/SessionRules.h"
#include "idle/Setting.h"
#include "idle/Source.h"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/file.h>
#include <sys/signalfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {
const char kUsage[] = "usage: morrowmere-idle [--after MINUTES | --off | -h]\n"
                      "  (no option)      watch this session and start the saver when it has been idle\n"
                      "                   for the chosen time; ends at once while none is chosen\n"
                      "  --after MINUTES  choose the idle time (1 to 1440 minutes)\n"
                      "  --off            start the saver no more when idle\n";

// The desktop's idle source that this session has: one of these is open, or none while the one
// there was has gone (a compositor or shell restarting).
struct IdleSource {
    const char* name = nullptr;
    MutterIdle* mutter = nullptr;
    WaylandIdle* wayland = nullptr;
    X11Idle* x11 = nullptr;
    // While gone: when to look for it again (the steady clock).
    std::chrono::steady_clock::time_point lookAgain;
};

// The saver's problem last said: a problem is said once, until a run ends well.
std::string g_said;

void SayOnce(const std::string& problem)
{
    if (problem == g_said)
        return;
    g_said = problem;
    std::fprintf(stderr, "morrowmere-idle: %s\n", problem.c_str());
}

bool ParseCount(const char* text, long low, long high, long& value)
{
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && value >= low && value <= high;
}

// The program beside this one, as installed.
std::string Beside(const char* name)
{
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return name;
    self[length] = '\0';
    std::string path(self);
    return path.replace(path.rfind('/') + 1, std::string::npos, name);
}

// One copy per session: a lock held in the runtime folder for the watcher's life. False when
// another copy holds it.
bool OnlyCopy()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || runtime[0] != '/')
        return true;
    const std::string path = std::string(runtime) + "/morrowmere-idle.lock";
    // Kept open (and out of the saver's hands) until the watcher ends. It holds the watcher's pid,
    // for the settings window, which stops the watcher when the user chooses "never".
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        return errno != EWOULDBLOCK;
    const std::string pid = std::to_string(getpid()) + "\n";
    // Without it the watcher runs all the same; only the settings window cannot stop it.
    const bool told = ftruncate(fd, 0) == 0 && write(fd, pid.data(), pid.size()) == static_cast<ssize_t>(pid.size());
    static_cast<void>(told);
    return true;
}

bool OpenIdleSource(IdleSource& source, sd_bus* session, uint32_t idleMs, bool& daemon, std::string& problem)
{
    daemon = false;
    source.wayland = OpenWaylandIdle(idleMs, source.name);
    if (source.wayland != nullptr)
        return true;
    if (session != nullptr) {
        source.mutter = OpenMutterIdle(session, idleMs);
        source.name = "GNOME's idle monitor";
        if (source.mutter != nullptr)
            return true;
    }
    // On a Wayland session XWayland's idle time would miss all input to Wayland windows.
    if (std::getenv("WAYLAND_DISPLAY") != nullptr) {
        problem = "the Wayland compositor offers no idle notifications and there is no GNOME idle monitor";
        return false;
    }
    source.x11 = OpenX11Idle(idleMs, daemon, problem);
    source.name = "the X server's screen-saver extension";
    return source.x11 != nullptr;
}

void CloseIdleSource(IdleSource& source)
{
    CloseMutterIdle(source.mutter);
    CloseWaylandIdle(source.wayland);
    CloseX11Idle(source.x11);
    source = IdleSource();
}

int IdleSourceFd(IdleSource& source, short& events, int& waitMs)
{
    events = POLLIN;
    waitMs = -1;
    if (source.name == nullptr) {
        const auto left = source.lookAgain - std::chrono::steady_clock::now();
        waitMs = std::max(0, static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(left).count()));
        return -1;
    }
    if (source.mutter != nullptr)
        return MutterIdleFd(*source.mutter, events, waitMs);
    if (source.wayland != nullptr)
        return WaylandIdleFd(*source.wayland);
    return X11IdleFd(*source.x11, waitMs);
}

bool StillIdle(IdleSource& source, uint32_t idleMs)
{
    if (source.mutter != nullptr)
        return MutterStillIdle(*source.mutter, idleMs);
    if (source.wayland != nullptr)
        return WaylandStillIdle(*source.wayland);
    return X11StillIdle(*source.x11);
}

IdleNews ReadIdleSource(IdleSource& source, bool readable, std::string& problem)
{
    if (source.name == nullptr)
        return IdleNews::kNothing;
    if (source.mutter != nullptr)
        return ReadMutterIdle(*source.mutter, problem);
    if (source.wayland != nullptr)
        return ReadWaylandIdle(*source.wayland, readable, problem);
    return ReadX11Idle(*source.x11);
}

// The signals that end the watcher (the session ending, a user's kill) come through a descriptor,
// so that a running saver can be ended first.
int TakeEndSignals(sigset_t& ends)
{
    sigemptyset(&ends);
    sigaddset(&ends, SIGTERM);
    sigaddset(&ends, SIGINT);
    sigaddset(&ends, SIGHUP);
    sigprocmask(SIG_BLOCK, &ends, nullptr);
    return signalfd(-1, &ends, SFD_CLOEXEC | SFD_NONBLOCK);
}

// The saver ended with its own teardown (it gives back the screen and the keyboard), and waited
// for; one that hangs in it is killed after ten seconds.
void EndSaver(pid_t pid)
{
    kill(pid, SIGTERM);
    int status = 0;
    for (int tenths = 0; tenths < 100; ++tenths) {
        if (waitpid(pid, &status, WNOHANG) != 0)
            return;
        usleep(100000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
}

// The saver, full screen; its pid, or -1 with the problem said. It starts with no signal blocked
// (the watcher blocks its ending ones).
pid_t StartSaver(const std::string& saver)
{
    char* argv[] = {const_cast<char*>(saver.c_str()), const_cast<char*>("-fullscreen"), nullptr};
    pid_t pid = -1;
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    const int failed = posix_spawn(&pid, saver.c_str(), nullptr, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0) {
        SayOnce("the saver " + saver + " could not be started: " + std::strerror(failed));
        return -1;
    }
    return pid;
}

// How the saver's run ended: nothing to say for a normal end, nor for an end by the SIGTERM that
// the watcher sent it (the saver ends so after its whole teardown).
void TakeEnd(int status, bool asked)
{
    if ((WIFEXITED(status) && WEXITSTATUS(status) == 0) ||
        (asked && WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM))
        g_said.clear();
    else if (WIFEXITED(status))
        SayOnce("the saver ended with status " + std::to_string(WEXITSTATUS(status)));
    else if (WIFSIGNALED(status))
        SayOnce(std::string("the saver ended by signal ") + strsignal(WTERMSIG(status)));
}

int Watch()
{
    const int32_t idleSeconds = StoredIdleSeconds();
    // Nothing starts for a user who did not ask.
    if (idleSeconds == 0)
        return 0;
    if (!OnlyCopy()) {
        std::fprintf(stderr, "morrowmere-idle: another copy already watches this session\n");
        return 1;
    }
    // Idle times of weeks are taken as the longest the desktops' idle sources know.
    const uint32_t idleMs = idleSeconds > 2000000 ? 2000000000u : static_cast<uint32_t>(idleSeconds) * 1000u;
    sd_bus* session = nullptr;
    if (sd_bus_open_user(&session) < 0)
        session = nullptr;
    else
        sd_bus_set_method_call_timeout(session, 2000000);
    IdleSource source;
    bool daemon = false;
    std::string problem;
    if (!OpenIdleSource(source, session, idleMs, daemon, problem)) {
        if (daemon)
            std::fprintf(stderr, "morrowmere-idle: XScreenSaver runs on this display and starts the saver itself\n");
        else
            std::fprintf(stderr, "morrowmere-idle: this desktop tells no idle time (%s)\n",
                         problem.empty() ? "no idle notifications on Wayland, no GNOME idle monitor, no X display"
                                         : problem.c_str());
        return daemon ? 0 : 1;
    }
    const std::string saver = Beside("morrowmere");
    sigset_t ends;
    const int endsFd = TakeEndSignals(ends);
    SessionRules* rules = OpenSessionRules(idleMs / 1000u);
    const std::string blankFirst = GnomeBlankWarning(idleMs / 1000u);
    if (!blankFirst.empty())
        SayOnce(blankFirst);
    pid_t running = -1;
    int runningFd = -1;
    bool readable = false;
    // What ended the running saver early (a lock, GNOME's blank, sleep), once it was asked to end.
    SaverEnd ending = SaverEnd::kNone;
    // An idle period that the session held off (a video's inhibitor, the lock): asked about again
    // when the session says that something let go while the user stays away.
    bool heldOff = false;
    for (;;) {
        signalfd_siginfo ended;
        if (read(endsFd, &ended, sizeof ended) == static_cast<ssize_t>(sizeof ended)) {
            if (running > 0)
                EndSaver(running);
            CloseSessionRules(rules);
            CloseIdleSource(source);
            // Ended as the signal ends a program.
            signal(static_cast<int>(ended.ssi_signo), SIG_DFL);
            sigprocmask(SIG_UNBLOCK, &ends, nullptr);
            raise(static_cast<int>(ended.ssi_signo));
            return 1;
        }
        const IdleNews news = ReadIdleSource(source, readable, problem);
        if (news == IdleNews::kLost) {
            // The session's bus gone is the session's end; a compositor or shell that restarts
            // comes back.
            if (source.mutter != nullptr && sd_bus_is_open(session) <= 0) {
                std::fprintf(stderr, "morrowmere-idle: %s; no more watching\n", problem.c_str());
                CloseSessionRules(rules);
                return 1;
            }
            std::fprintf(stderr, "morrowmere-idle: %s; watching again once it is back\n", problem.c_str());
            CloseIdleSource(source);
            source.lookAgain = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        } else if (source.name == nullptr && std::chrono::steady_clock::now() >= source.lookAgain) {
            bool daemonNow = false;
            std::string why;
            if (OpenIdleSource(source, session, idleMs, daemonNow, why)) {
                std::fprintf(stderr, "morrowmere-idle: %s is back; watching again\n", source.name);
            } else {
                CloseIdleSource(source);
                source.lookAgain = std::chrono::steady_clock::now() + std::chrono::seconds(2);
            }
        }
        const SessionNews said = ReadSessionRules(*rules);
        if (running > 0) {
            int status = 0;
            const pid_t ended = waitpid(running, &status, WNOHANG);
            if (ended == running) {
                TakeEnd(status, ending != SaverEnd::kNone);
                running = -1;
                if (runningFd >= 0)
                    close(runningFd);
                runningFd = -1;
                LockAgainIfMissed(*rules, ending);
                LetSleep(*rules);
                ending = SaverEnd::kNone;
            } else if (said.end != SaverEnd::kNone && ending == SaverEnd::kNone) {
                // Its own teardown first; sleep waits for it.
                ending = said.end;
                kill(running, SIGTERM);
            }
        }
        // An idle period while the saver runs is its own; once the user is back, the next comes.
        bool askNow = news == IdleNews::kIdle && running < 0;
        if (heldOff && said.letGo && running < 0) {
            heldOff = false;
            askNow = StillIdle(source, idleMs);
        }
        if (askNow) {
            std::string reason;
            if (StoredIdleSeconds() == 0) {
                CloseSessionRules(rules);
                return 0;
            }
            heldOff = SessionHoldsOff(*rules, reason);
            if (!heldOff) {
                ClearTheWay(*rules);
                running = StartSaver(saver);
                if (running > 0)
                    HoldSleep(*rules);
                // The saver's end wakes the loop (without a pid descriptor: a look five times a second).
                runningFd = running > 0 ? static_cast<int>(syscall(SYS_pidfd_open, running, 0)) : -1;
            }
        }
        short events = POLLIN;
        int waitMs = -1;
        pollfd waits[5] = {{IdleSourceFd(source, events, waitMs), 0, 0}, {runningFd, POLLIN, 0}, {endsFd, POLLIN, 0}};
        waits[0].events = events;
        pollfd rulesWaits[2];
        int rulesMs = -1;
        SessionRulesFds(*rules, rulesWaits, rulesMs);
        waits[3] = rulesWaits[0];
        waits[4] = rulesWaits[1];
        if (rulesMs >= 0 && (waitMs < 0 || rulesMs < waitMs))
            waitMs = rulesMs;
        if (running > 0 && runningFd < 0 && (waitMs < 0 || waitMs > 200))
            waitMs = 200;
        const int ready = poll(waits, 5, waitMs);
        if (ready < 0 && errno != EINTR) {
            std::fprintf(stderr, "morrowmere-idle: cannot wait: %s\n", std::strerror(errno));
            CloseSessionRules(rules);
            return 1;
        }
        readable = (waits[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0;
    }
}
} // namespace

int main(int argc, char** argv)
{
    // Options take one dash or two.
    const auto is = [](const char* given, const char* name) {
        return std::strcmp(given, name) == 0 || (given[0] == '-' && std::strcmp(given + 1, name) == 0);
    };
    if (argc == 1)
        return Watch();
    long value = 0;
    if (argc == 2 && (is(argv[1], "-h") || is(argv[1], "-help"))) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    int32_t seconds = -1;
    if (argc == 2 && is(argv[1], "--off"))
        seconds = 0;
    else if (argc == 3 && is(argv[1], "--after") && ParseCount(argv[2], 1, 1440, value))
        seconds = static_cast<int32_t>(value * 60);
    // Idle times of seconds, for the tests.
    else if (argc == 3 && is(argv[1], "--after-seconds") && ParseCount(argv[2], 1, 86400, value))
        seconds = static_cast<int32_t>(value);
    if (seconds < 0) {
        std::fputs(kUsage, stderr);
        return 1;
    }
    if (!StoreIdleSeconds(seconds)) {
        std::fprintf(stderr, "morrowmere-idle: cannot write the settings file\n");
        return 1;
    }
    if (seconds == 0)
        std::printf("The saver no longer starts when the session is idle (a watcher running now ends at its next "
                    "idle period).\n");
    else
        std::printf("From the next login the saver starts after %ld %s without input (to start watching now: "
                    "morrowmere-idle &).\n",
                    static_cast<long>(seconds % 60 == 0 ? seconds / 60 : seconds),
                    seconds % 60 == 0 ? (seconds == 60 ? "minute" : "minutes") : "seconds");
    const std::string blankFirst = seconds == 0 ? std::string() : GnomeBlankWarning(static_cast<uint32_t>(seconds));
    if (!blankFirst.empty())
        std::printf("But %s.\n", blankFirst.c_str());
    return 0;
}
