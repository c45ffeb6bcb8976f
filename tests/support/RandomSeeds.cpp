#include "support/RandomSeeds.h"

#include "gfx/RandomUnit.h"

#include <gtest/gtest.h>

namespace {
constexpr uint32_t kMultiplier = 214013u, kIncrement = 2531011u;

int Next(uint32_t& state)
{
    state = state * kMultiplier + kIncrement;
    return static_cast<int>((state >> 16) & 0x7FFF);
}
} // namespace

uint32_t SeedForDraws(std::initializer_list<int> values)
{
    uint32_t inverse = 1; // the multiplier's inverse modulo 2^32, by Newton's iteration
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - kMultiplier * inverse;
    const std::vector<int> wanted(values);
    for (uint32_t free = 0; free < (1u << 17); ++free) {
        // The last state: its bits 16..30 are the last value, the other 17 bits are free.
        uint32_t state = (static_cast<uint32_t>(wanted.back()) << 16) | (free & 0xFFFFu) | ((free >> 16) << 31);
        bool fits = true;
        for (size_t k = wanted.size() - 1; k > 0 && fits; --k) {
            state = (state - kIncrement) * inverse;
            fits = static_cast<int>((state >> 16) & 0x7FFF) == wanted[k - 1];
        }
        if (fits)
            return (state - kIncrement) * inverse;
    }
    ADD_FAILURE() << "no seed for these draws";
    return 0;
}

uint32_t SeedWhere(int count, const std::function<bool(const std::vector<int>&)>& wanted)
{
    std::vector<int> draws(static_cast<size_t>(count));
    for (uint32_t seed = 1; seed != 0; ++seed) {
        uint32_t state = seed;
        for (int& draw : draws)
            draw = Next(state);
        if (wanted(draws))
            return seed;
    }
    ADD_FAILURE() << "no seed gives these draws";
    return 0;
}

int DrawAfter(uint32_t seed, int count)
{
    uint32_t state = seed;
    for (int i = 0; i < count; ++i)
        Next(state);
    return Next(state);
}

int DrawsSince(uint32_t seed)
{
    uint32_t state = seed;
    for (int draws = 0; draws <= 1000000; ++draws) {
        if (state == RandomState())
            return draws;
        Next(state);
    }
    return -1;
}
