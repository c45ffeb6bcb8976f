// Test builds only: a settings store that holds nothing and refuses every write, as the registry
// under HKEY_LOCAL_MACHINE does for a user without administrator rights. Linked ahead of the core
// library, so the registry backend is never taken from it.

#include "base/SettingsBackend.h"

struct SettingsBackend::State {
};

SettingsBackend::SettingsBackend(const std::string&, Mode)
{
}

SettingsBackend::~SettingsBackend()
{
    delete state_;
}

bool SettingsBackend::Query(const char*, char (&)[kStoredTextLimit + 1])
{
    return false;
}

void SettingsBackend::SetText(const char*, const char*)
{
}

bool SettingsBackend::Commit()
{
    return false;
}
