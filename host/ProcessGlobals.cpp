#include "host/ProcessGlobals.h"

#include "host/FrameRateCounter.h"
#include "host/RunLog.h"
#include "host/SettingsStore.h"

// Defined in one file so that their construction order is the order written here.
namespace {
SettingsStore g_settings;
FrameRateCounter g_frameRate;
RunLog g_runLog;
} // namespace

SettingsStore& Settings()
{
    return g_settings;
}

FrameRateCounter& FrameRate()
{
    return g_frameRate;
}

RunLog& Log()
{
    return g_runLog;
}
