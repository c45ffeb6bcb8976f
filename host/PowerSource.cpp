#include "host/PowerSource.h"

#include "base/FrameCap.h"
#include "base/RunLog.h"
#include "base/SettingsStore.h"
#include "host/ProcessGlobals.h"

bool BatteryCapWanted()
{
    int32_t wanted = 1;
    Settings().Get("BatteryFrameCap", wanted);
    return wanted != 0;
}

void TellPowerSource(FrameState& frame, bool onBattery)
{
    const uint32_t cap = onBattery ? kBatteryFrameMicroseconds : 0;
    if (frame.capMicroseconds.exchange(cap) == cap)
        return;
    Log().Record(kLogNotify, onBattery ? "On battery: at most 30 frames a second"
                                       : "On mains power: the frame rate is not capped");
}
