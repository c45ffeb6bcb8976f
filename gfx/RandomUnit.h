#pragma once
// The saver's one random source: a 15-bit linear congruential generator with a single process-wide
// state. The order of draws is part of how every scene object behaves, so the same seed must give
// the same scene on Windows and Linux; the C library's rand is therefore off limits.
//
// Threads: seeded and drawn on the render thread only (no lock).

#include <cstdint>

// The standard headers that name the C library's generator are read before it is poisoned, so
// that only our own sources are stopped from using it.
#include <algorithm>
#include <cstdlib>
#include <stdlib.h>
#pragma GCC poison rand srand

// Sets the generator state. Video initialisation passes the current time in whole seconds.
void SeedRandom(uint32_t seed);

// The state as it is now. Reading it draws nothing; the replay program counts a run's draws by
// stepping a copy of the generator until it reaches this state.
uint32_t RandomState();

// The state that follows `state`: state * 214013 + 2531011 (mod 2^32).
constexpr uint32_t NextRandomState(uint32_t state)
{
    return state * 214013u + 2531011u;
}

// The next value of the generator: the next state, then bits 16..30 of it. Always in 0..32767.
int NextRandom15();

// NextRandom15() / 32767: in [0, 1], and exactly 1.0 when the generator yields 32767.
double RandomUnit();
