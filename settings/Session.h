#pragma once
// What the settings window does in the user's session beside the settings themselves: the
// programs it runs, the idle watcher started and stopped, and what the desktop decides.

#include <string>

// The path of one of the saver's programs: beside this one (a build tree), else where the package
// puts them.
std::string ProgramPath(const char* name);

// The idle watcher of this session: started (a program of its own that outlives the window), and
// stopped with its saver. StopWatcher returns once it is gone, or after 3 s.
bool StartWatcher(std::string& problem);
void StopWatcher();

// One line on how the saver will start on this desktop, and what of the desktop's own settings
// matters.
std::string HowItStartsHere();

// GNOME's Screen Blank in seconds (0: never, or not GNOME). The saver starts only before it.
int GnomeBlankSeconds();
