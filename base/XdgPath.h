#pragma once
// Linux only: the per-user folders where the port keeps its settings and its run log.

#include <string>

// The folder named by the environment variable `variable` when it holds an absolute path, else
// $HOME/`fallbackUnderHome`. False when neither is usable.
bool XdgFolder(const char* variable, const char* fallbackUnderHome, std::string& folder);

// Creates `folder` and any missing parents (mode 0700). True when it exists as a folder afterwards.
bool MakeFolders(const std::string& folder);

// The settings file of a store's key path: $XDG_CONFIG_HOME/<key path less "Software">.conf, with
// the folder it lies in. False without a usable configuration folder.
bool SettingsFilePath(const std::string& keyPath, std::string& folder, std::string& path);

// Writes `text` beside `path` and renames it over the file, so that a crash leaves the old file or
// the new one, never half of either. False when it could not be made durable.
bool ReplaceFile(const std::string& path, const std::string& text);
