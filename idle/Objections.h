#pragma once
// Linux only: what keeps the idle watcher from starting the saver when the user is away: an idle
// inhibitor held with gnome-session (a video player's), or a locked session (logind's LockedHint
// of this session, or GNOME's screen shield). A service that is not there has no objection.

#include <string>

struct sd_bus;

// Asked at each idle period, on the session bus `session` (null: none) and the system bus. True,
// with the reason, when one of them objects.
bool SomethingObjects(sd_bus* session, std::string& reason);
