#include "gfx/Vec3.h"

#include <cmath>

Vec3& Vec3::operator+=(const Vec3& w)
{
    x += w.x;
    y += w.y;
    z += w.z;
    return *this;
}

Vec3& Vec3::operator*=(double s)
{
    x *= s;
    y *= s;
    z *= s;
    return *this;
}

double Vec3::Length() const
{
    return std::sqrt(x * x + y * y + z * z);
}

void Vec3::Normalize()
{
    const double length = Length();
    if (length == 0.0) {
        *this = Vec3(1.0, 0.0, 0.0);
        return;
    }
    *this *= 1.0 / length;
}

Vec3 Vec3::Cross(const Vec3& w) const
{
    return Vec3(y * w.z - z * w.y, z * w.x - x * w.z, x * w.y - y * w.x);
}

Vec3 Vec3::RotateAbout(const Vec3& axis, double angle) const
{
    const Vec3 n = Cross(axis);
    const double nLength = n.Length();
    if (nLength == 0.0)
        return *this;
    const double k = Length() / nLength;
    return *this * std::cos(angle) + n * (std::sin(angle) * k);
}
