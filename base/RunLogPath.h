#pragma once
// Where this process's run log lives. Each platform supplies its own rule; a run that cannot name
// its log with certainty keeps a silent log rather than write somewhere unexpected.

#include <cstddef>
#include <string>

// Windows: the module path read into a 200-byte buffer, with its last three characters replaced
// by "log". Linux: $XDG_STATE_HOME/morrowmere/morrowmere.log (default ~/.local/state), creating
// the folders. False when there is no trustworthy path.
bool ProcessRunLogPath(std::string& path);

// Replaces the last three characters of a module path of `length` characters by "log" (so
// "C:\x\Morrowmere.scr" becomes "C:\x\Morrowmere.log"). False, and nothing changed, when the path
// is too short to have three characters to replace.
bool ModulePathToLogPath(std::string& path);
