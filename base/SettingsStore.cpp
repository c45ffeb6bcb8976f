#include "base/SettingsStore.h"

#include "base/RenderScale.h"
#include "base/SettingsBackend.h"

#include <cinttypes>
#include <cstdio>

namespace {
struct DefaultRow {
    const char* name;
    int32_t value;
    int32_t defaultValue;
};

// Read in order up to the row with the empty name.
const DefaultRow kDefaults[] = {
    {"BatteryFrameCap", 1, 1},
    {"EnableFPS", 0, 0},
    {"EnableVSync", 1, 1},
    {"EnableSound", 1, 1},
    {"MultiMonitor", 0, 0},
    {"RenderScale", kRenderScaleFullPercent, kRenderScaleFullPercent},
    {"", 0, 0},
};

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
} // namespace

int32_t ParseStoredDecimal(const char* text)
{
    while (IsSpace(*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    // Accumulated as a magnitude with room for one past INT32_MAX, so both limits are exact.
    const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
    int64_t magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        magnitude = magnitude * 10 + (*text - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

SettingsStore::SettingsStore()
    : keyPath_("Software\\Tovrelin\\Morrowmere screen saver")
{
    for (const DefaultRow* row = kDefaults; row->name[0] != '\0'; ++row) {
        SettingEntry& entry = entries_[row->name];
        entry.name = row->name;
        entry.value = row->value;
        entry.defaultValue = row->defaultValue;
    }
    Load();
}

int SettingsStore::Load()
{
    SettingsBackend store(keyPath_, SettingsBackend::kQuery);
    if (!store.IsOpen())
        return -1;
    for (auto& item : entries_) {
        char text[kStoredTextLimit + 1];
        if (store.Query(item.first.c_str(), text))
            item.second.value = ParseStoredDecimal(text);
    }
    return 0;
}

int SettingsStore::Store() const
{
    SettingsBackend store(keyPath_, SettingsBackend::kSet);
    if (!store.IsOpen())
        return -1;
    for (const auto& item : entries_) {
        char text[16];
        std::snprintf(text, sizeof text, "%" PRId32, item.second.value);
        store.SetText(item.first.c_str(), text);
    }
    return store.Commit() ? 0 : -1;
}

int SettingsStore::Get(const char* name, int32_t& value) const
{
    const auto found = entries_.find(name);
    if (found == entries_.end())
        return -1;
    value = found->second.value;
    return 0;
}

int SettingsStore::Set(const char* name, int32_t value)
{
    const auto found = entries_.find(name);
    if (found == entries_.end())
        return -1;
    found->second.value = value;
    return 0;
}

void SettingsStore::ResetToDefaults()
{
    for (auto& item : entries_)
        item.second.value = item.second.defaultValue;
}
