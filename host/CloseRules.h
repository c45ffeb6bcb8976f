#pragma once
// When user input or a power event closes the full-screen saver. Pure decisions; the host reads
// the cursor and the power status and posts the close.

#include <cstdint>

// A mouse move closes when the absolute x distance plus the absolute y distance from the
// reference position exceeds 4 pixels.
bool MouseMoveCloses(int32_t referenceX, int32_t referenceY, int32_t x, int32_t y);

enum class PowerAction {
    Close,       // post WM_CLOSE
    Ignore,      // nothing
    CheckMains,  // read the AC line status; close when it differs from the kept one
};

// What a WM_POWERBROADCAST event does to the full-screen saver. Resume events (6 to 8 and 18)
// close unless bit 0 of lParam says the resume followed a failure.
PowerAction ClassifyPowerBroadcast(uintptr_t event, intptr_t data);
