// Test builds only (linked with --wrap for WingsSoundClass::Update): whatever the creature does,
// its wing sound hears a head on the right of the screen that keeps rising, so the wings sound
// there every three seconds.

#include "gfx/Vec3.h"

#include <cstdint>

class WingsSoundClass;

extern "C" void __real__ZN15WingsSoundClass6UpdateERK4Vec3j(WingsSoundClass* self, const Vec3& head,
                                                             uint32_t elapsed);

extern "C" void __wrap__ZN15WingsSoundClass6UpdateERK4Vec3j(WingsSoundClass* self, const Vec3&, uint32_t elapsed)
{
    static int frame = 0;
    const Vec3 head(0.9, 0.02 * (frame++ % 10), 0.0);
    __real__ZN15WingsSoundClass6UpdateERK4Vec3j(self, head, elapsed);
}
