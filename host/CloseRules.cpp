#include "host/CloseRules.h"

namespace {
int64_t Distance(int32_t a, int32_t b)
{
    const int64_t d = static_cast<int64_t>(a) - b;
    return d < 0 ? -d : d;
}
} // namespace

bool MouseMoveCloses(int32_t referenceX, int32_t referenceY, int32_t x, int32_t y)
{
    return Distance(referenceX, x) + Distance(referenceY, y) > 4;
}

PowerAction ClassifyPowerBroadcast(uintptr_t event, intptr_t data)
{
    switch (event) {
    case 6:  // resume critical
    case 7:  // resume suspend
    case 8:  // resume standby
    case 18: // resume automatic
        return (data & 1) ? PowerAction::Ignore : PowerAction::Close;
    case 10: // power status change
        return PowerAction::CheckMains;
    default: // queries, their failures, suspend, standby, and everything else
        return PowerAction::Close;
    }
}
