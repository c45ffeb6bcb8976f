#include "base/SettingsBackend.h"

#include <windows.h>

#include <cstring>

// The settings live as REG_SZ values under HKEY_LOCAL_MACHINE\<key path>.
struct SettingsBackend::State {
    HKEY key;
    bool refused; // a value could not be written
};

SettingsBackend::SettingsBackend(const std::string& keyPath, Mode mode)
{
    HKEY key = nullptr;
    LONG result;
    if (mode == kQuery)
        result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key);
    else
        result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr,
                                 REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS)
        state_ = new State{key, false};
}

SettingsBackend::~SettingsBackend()
{
    if (state_) {
        RegCloseKey(state_->key);
        delete state_;
    }
}

bool SettingsBackend::Query(const char* name, char (&text)[kStoredTextLimit + 1])
{
    // The type is not checked: whatever bytes are stored are read as text. The registry hands back
    // a value that exactly fills the room without a terminating NUL, so one byte is kept in
    // reserve for our own terminator.
    DWORD size = kStoredTextLimit;
    const LONG result = RegQueryValueExA(state_->key, name, nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(text), &size);
    if (result != ERROR_SUCCESS || size > kStoredTextLimit)
        return false;
    text[size] = '\0';
    return true;
}

void SettingsBackend::SetText(const char* name, const char* text)
{
    // Every value is written even after a refusal, as the saver has always done.
    if (RegSetValueExA(state_->key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                       static_cast<DWORD>(std::strlen(text) + 1)) != ERROR_SUCCESS)
        state_->refused = true;
}

bool SettingsBackend::Commit()
{
    return !state_->refused;
}
