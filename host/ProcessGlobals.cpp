#include "host/ProcessGlobals.h"

#include "base/SettingsStore.h"
#include "host/FrameRateCounter.h"

// Defined in one file so that their construction order is the order written here. The run log
// (base/) needs no construction at run time: it is silent until the host opens it, after both.
namespace {
SettingsStore g_settings;
FrameRateCounter g_frameRate;
} // namespace

SettingsStore& Settings()
{
    return g_settings;
}

FrameRateCounter& FrameRate()
{
    return g_frameRate;
}
