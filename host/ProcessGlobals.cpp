#include "base/ProcessGlobals.h"

#include "base/RunLog.h"
#include "base/SettingsStore.h"
#include "host/FrameRateCounter.h"

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
