#include "gfx/Vec2.h"

#include <cmath>

double Vec2::Length() const
{
    return std::sqrt(x * x + y * y);
}
