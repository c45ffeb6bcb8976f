#include "gfx/GenericArraysOff.h"

#include "gfx/DrawingState.h"

// The arrays that are on are the program's own record of them: asking the driver for each of 16
// or more attributes would cost a round trip each, several times a frame.
GenericArraysOff::GenericArraysOff() : wereOn_(Drawing().genericArrays)
{
    ForEachSetBit(wereOn_, [](uint32_t i) { SetGenericArray(i, false); });
}

GenericArraysOff::~GenericArraysOff()
{
    ForEachSetBit(wereOn_, [](uint32_t i) { SetGenericArray(i, true); });
}
