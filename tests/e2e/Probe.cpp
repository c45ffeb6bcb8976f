// A small program that drives the run log and the settings store the way the saver's process
// does, so the end-to-end tests can check files and the registry from outside.
//
//   probe log                  open this process's run log, write records, keep two messages
//   probe settings load        print the loaded settings
//   probe settings store F V   set EnableFPS and EnableVSync, then store them

#include "base/RunLog.h"
#include "base/SettingsStore.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
int PrintSettings(const SettingsStore& settings, int loadResult)
{
    int32_t fps = 0;
    int32_t vsync = 0;
    int32_t sound = 0;
    settings.Get("EnableFPS", fps);
    settings.Get("EnableVSync", vsync);
    settings.Get("EnableSound", sound);
    std::printf("Load=%d EnableFPS=%d EnableVSync=%d EnableSound=%d\n", loadResult, static_cast<int>(fps),
                static_cast<int>(vsync), static_cast<int>(sound));
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "log") == 0) {
        RunLog log;
        log.OpenForProcess();
        log.Record(kLogNotify, "Run looping thread");
        log.RecordAndKeep(kLogError, "SoundManager initialization is failed",
                          "Sorry, this application requires DirectX 8.0 or later");
        log.RecordAndKeep(kLogNotify, "Error of common initialization", "Error of initialization");
        log.RecordNumber(kLogNotify, "FPS = %g", -1);
        std::printf("silent=%d kept=%s\n", log.IsSilent() ? 1 : 0, log.KeptUserMessage());
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "settings") == 0 && std::strcmp(argv[2], "load") == 0) {
        SettingsStore settings;
        return PrintSettings(settings, settings.Load());
    }
    if (argc == 5 && std::strcmp(argv[1], "settings") == 0 && std::strcmp(argv[2], "store") == 0) {
        SettingsStore settings;
        settings.Set("EnableFPS", std::atoi(argv[3]));
        settings.Set("EnableVSync", std::atoi(argv[4]));
        std::printf("Store=%d\n", settings.Store());
        return 0;
    }
    std::fprintf(stderr, "usage: probe log | probe settings load | probe settings store FPS VSYNC\n");
    return 2;
}
