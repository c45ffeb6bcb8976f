// Test builds only (linked with --wrap for WingsSoundClass::Update): whatever the creature does,
// its wing sound hears a head that stays where the ribbon starts, so no flap ever sounds and the
// ambient loop can be heard alone.

#include "gfx/Vec3.h"

#include <cstdint>

class WingsSoundClass;

extern "C" void __real__ZN15WingsSoundClass6UpdateERK4Vec3j(WingsSoundClass* self, const Vec3& head,
                                                             uint32_t elapsed);

extern "C" void __wrap__ZN15WingsSoundClass6UpdateERK4Vec3j(WingsSoundClass* self, const Vec3&, uint32_t elapsed)
{
    __real__ZN15WingsSoundClass6UpdateERK4Vec3j(self, Vec3(1.0, 0.0, 0.0), elapsed);
}
