#include "gfx/RandomUnit.h"

namespace {
uint32_t g_state = 1;
}

void SeedRandom(uint32_t seed)
{
    g_state = seed;
}

uint32_t RandomState()
{
    return g_state;
}

int NextRandom15()
{
    g_state = NextRandomState(g_state);
    return static_cast<int>((g_state >> 16) & 0x7FFFu);
}

double RandomUnit()
{
    return NextRandom15() / 32767.0;
}
