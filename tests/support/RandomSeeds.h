#pragma once
// Seeds of the saver's random source that force particular draws, so that a test can walk a
// chosen branch of a random step and assert its exact sequence of draws.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

// A seed whose next one or two draws give exactly the given 15-bit values (found by running the
// generator backwards from a state that yields the last value; longer exact runs rarely exist).
uint32_t SeedForDraws(std::initializer_list<int> values);

// The first seed whose next `count` 15-bit draws pass `wanted`.
uint32_t SeedWhere(int count, const std::function<bool(const std::vector<int>&)>& wanted);

// The 15-bit draw that follows `count` draws from `seed`.
int DrawAfter(uint32_t seed, int count);

// How many draws the saver's random source has made since it was seeded with `seed` (at most a
// million are looked for; -1 beyond).
int DrawsSince(uint32_t seed);
