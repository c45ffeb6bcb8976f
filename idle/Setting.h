#pragma once
// Linux only: the idle watcher's setting, IdleSeconds (0 = off, the default), a line of the saver's
// settings file that only the watcher and the settings window read and write. It is not a row of the SettingsStore: that
// table is the Windows saver's too, whose registry would gain a value no Windows program reads.

#include <cstdint>

// The stored idle time in seconds; 0 when it is absent, unreadable or not above 0.
int32_t StoredIdleSeconds();

// Stores it, keeping every other line of the file as it was. False when the file could not be
// written (the old one is then left whole).
bool StoreIdleSeconds(int32_t seconds);

// One Name=decimal line of the settings file, every other line kept as it was (the settings
// window stores each setting so, as it changes). False when the file could not be written.
bool StoreSettingLine(const char* name, int32_t value);
