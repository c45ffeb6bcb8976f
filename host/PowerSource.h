#pragma once
// Lighter on battery: while the machine runs on battery, frames start at most 30 times a second
// (kBatteryFrameMicroseconds apart), on every host, unless the stored setting BatteryFrameCap is 0.
// Where the power source cannot be told (no battery service), nothing is capped and nothing said.

#include "base/SaverFrame.h"

// Whether the settings let the cap apply (BatteryFrameCap, 1 by default).
bool BatteryCapWanted();

// The power source as just read. On battery the cap applies; back on mains it is lifted. The run
// log says so at each change, and at a start on battery; a start on mains says nothing.
void TellPowerSource(FrameState& frame, bool onBattery);

#ifndef _WIN32
// Watches UPower's OnBattery on the system bus ($DBUS_SYSTEM_BUS_ADDRESS where set), on a thread
// of its own, until StopPowerWatch: the value at the start, then each change. Without a system bus
// or UPower the thread ends at once, quietly. Nothing starts when the settings leave the cap off.
void StartPowerWatch(FrameState& frame);
void StopPowerWatch();
#endif
