#include "StoredSettings.h"

#include <windows.h>

namespace {
const char kKey[] = "Software\\Tovrelin\\Morrowmere screen saver";

void DeleteOurKeys()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Tovrelin");
}
} // namespace

struct StoredSettings::Place {};

StoredSettings::StoredSettings()
{
    DeleteOurKeys();
}

StoredSettings::~StoredSettings()
{
    DeleteOurKeys();
}

void StoredSettings::WriteText(const char* name, const std::string& text)
{
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, kKey, name, REG_SZ, text.c_str(),
                    static_cast<DWORD>(text.size() + 1));
}

std::string StoredSettings::ReadText(const char* name) const
{
    char data[512];
    DWORD size = sizeof data;
    DWORD type = 0;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kKey, name, RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS)
        return "<absent>";
    if (type != REG_SZ)
        return "<not text>";
    return std::string(data, size > 0 ? size - 1 : 0);
}
