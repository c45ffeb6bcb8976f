#pragma once
// Linux only: the session's own rules, which come before the saver. What holds it off while the
// user is away: an idle inhibitor held with gnome-session (a video player's) or with the power
// manager (KDE Plasma's, Xfce's), GNOME blanking the
// screen (its presence idle, or its Screen Blank not longer than the saver's time), GNOME's screen
// shield up, a locked session (logind's LockedHint), the machine going to sleep. What ends a saver
// that runs: the shield rising, GNOME's blank, a lock asked of logind, sleep coming. The watcher
// hears of each from the services' own signals, on session and system bus connections kept for its
// life; a service that is not there has no objection.

#include <cstdint>
#include <poll.h>
#include <string>

struct SessionRules;

// Never null: without either bus the rules are simply empty.
SessionRules* OpenSessionRules(uint32_t idleSeconds);
void CloseSessionRules(SessionRules* rules);

// The two buses' descriptors to poll (-1 for a bus that is missing) and the milliseconds until one
// of them must be read (-1: no time).
void SessionRulesFds(SessionRules& rules, pollfd (&waits)[2], int& waitMs);

// Why a running saver must end now.
enum class SaverEnd { kNone, kShield, kBlank, kLock, kSleep };

struct SessionNews {
    SaverEnd end = SaverEnd::kNone;
    // Something that may have held the saver off has gone (an inhibitor let go, the shield down,
    // the session unlocked, the machine awake): worth asking again.
    bool letGo = false;
};
SessionNews ReadSessionRules(SessionRules& rules);

// Asked at each idle period: true, with the reason, when the session holds the saver off.
bool SessionHoldsOff(SessionRules& rules, std::string& reason);

// Just before the saver starts: GNOME Shell's overview (and its app grid and search) left, so that
// the saver's window is the one shown and given the keyboard.
void ClearTheWay(SessionRules& rules);

// While the saver runs, logind waits for its end before the machine sleeps (a delay inhibitor).
void HoldSleep(SessionRules& rules);
void LetSleep(SessionRules& rules);

// After a run that `end` ended, once the saver is gone: a lock that did not take while the saver
// held the keyboard (an X11 locker cannot grab it then) is asked for again.
void LockAgainIfMissed(SessionRules& rules, SaverEnd end);

// What to tell a user whose chosen time is not shorter than GNOME's Screen Blank (the saver would
// never be seen); empty where Screen Blank is off, unknown or longer.
std::string GnomeBlankWarning(uint32_t idleSeconds);
