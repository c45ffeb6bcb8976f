#pragma once
// The saver's user settings: named signed 32-bit integers with defaults, loaded from the machine's
// settings store when the process starts and stored only when the settings dialog says OK.
//
// Threads: written only before a run's threads start (the Linux port's -fps) and by the settings
// dialog (configuration mode has no render thread); in the saver modes only read, by the window
// thread and the render thread.

#include <cstdint>
#include <map>
#include <string>

struct SettingEntry {
    std::string name;
    int32_t value;
    int32_t defaultValue;
};

class SettingsStore {
public:
    // Fills the entries from the defaults table, then loads the stored values.
    SettingsStore();

    // Reads every entry's stored text. 0, or -1 when the store cannot be opened (every value then
    // keeps what it had). A value that is absent or longer than the store's limit is left as it is.
    int Load();
    // Writes every entry as decimal text. 0, or -1 when the store can be neither created nor opened.
    int Store() const;
    // 0 and the value; -1 when there is no such entry, leaving `value` untouched.
    int Get(const char* name, int32_t& value) const;
    // 0; -1 when there is no such entry (nothing is created).
    int Set(const char* name, int32_t value);
    // Every value becomes its default, in memory only.
    void ResetToDefaults();

    // "Software\Tovrelin\Morrowmere screen saver", under HKEY_LOCAL_MACHINE on Windows.
    const std::string& KeyPath() const { return keyPath_; }

private:
    std::string keyPath_;
    // Ordered by byte-wise name comparison: loading and storing follow this order.
    std::map<std::string, SettingEntry> entries_;
};

// The C library's atol rules on stored text, the same on every platform: optional leading white
// space, an optional sign, then decimal digits up to the first other character; 0 without digits.
// Values beyond the 32-bit range saturate to its limits, as the Windows C runtime does.
int32_t ParseStoredDecimal(const char* text);
