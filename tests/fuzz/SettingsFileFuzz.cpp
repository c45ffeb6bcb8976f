// libFuzzer target: the Linux port's settings file as any text a hand or a broken disk could leave.
// The real store reads it from a private XDG_CONFIG_HOME; whatever it read must survive a store
// and a second load unchanged, and a setting the text does not name keeps its default.
#include "base/SettingsStore.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
struct Setting {
    const char* name;
    int32_t byDefault;
};
const Setting kSettings[] = {{"EnableFPS", 0}, {"EnableVSync", 1}, {"MultiMonitor", 0}, {"RenderScale", 100}};
const int kCount = sizeof kSettings / sizeof kSettings[0];
std::string g_file;

void MakeConfigHome()
{
    char folder[] = "/tmp/morrowmere-settings-fuzz-XXXXXX";
    if (mkdtemp(folder) == nullptr)
        __builtin_trap();
    setenv("XDG_CONFIG_HOME", folder, 1);
    const std::string vendor = std::string(folder) + "/Tovrelin";
    mkdir(vendor.c_str(), 0700);
    g_file = vendor + "/Morrowmere screen saver.conf";
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (g_file.empty())
        MakeConfigHome();
    FILE* file = std::fopen(g_file.c_str(), "wb");
    if (file == nullptr)
        __builtin_trap();
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    const std::string text(reinterpret_cast<const char*>(data), size);
    SettingsStore read;
    int32_t values[kCount];
    for (int i = 0; i < kCount; ++i) {
        if (read.Get(kSettings[i].name, values[i]) != 0)
            __builtin_trap();
        if (text.find(kSettings[i].name) == std::string::npos && values[i] != kSettings[i].byDefault)
            __builtin_trap();
    }
    if (read.Store() != 0)
        __builtin_trap();
    SettingsStore again;
    for (int i = 0; i < kCount; ++i) {
        int32_t value = 0;
        if (again.Get(kSettings[i].name, value) != 0 || value != values[i])
            __builtin_trap();
    }
    return 0;
}
