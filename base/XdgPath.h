#pragma once
// Linux only: the per-user folders where the port keeps its settings and its run log.

#include <string>

// The folder named by the environment variable `variable` when it holds an absolute path, else
// $HOME/`fallbackUnderHome`. False when neither is usable.
bool XdgFolder(const char* variable, const char* fallbackUnderHome, std::string& folder);

// Creates `folder` and any missing parents (mode 0700). True when it exists as a folder afterwards.
bool MakeFolders(const std::string& folder);
