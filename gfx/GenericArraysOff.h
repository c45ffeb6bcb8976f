#pragma once
// A fixed-function draw from client arrays also reads the generic vertex attribute arrays that are
// on: drivers alias generic attribute 0 with the vertex position, and some alias others with the
// colour or texture coordinates. For the life of one of these, the arrays another object's shader
// inputs left on are off; they are on again afterwards, so the next object finds them as it left
// them.
//
// The arrays on are those that the drawing-state record holds (DrawingState.h). Render thread
// only, with the rendering context current.

#include <cstdint>

// Calls each(i) for every bit i that is set in `bits`, from bit 0 up to bit 31.
template <typename Each>
void ForEachSetBit(uint32_t bits, Each each)
{
    for (uint32_t i = 0; i < 32; ++i)
        if ((bits >> i & 1u) != 0)
            each(i);
}

class GenericArraysOff {
public:
    GenericArraysOff();
    ~GenericArraysOff();

    GenericArraysOff(const GenericArraysOff&) = delete;
    GenericArraysOff& operator=(const GenericArraysOff&) = delete;

private:
    uint32_t wereOn_ = 0; // bit i: generic array i was on
};
