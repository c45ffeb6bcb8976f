#pragma once
// A point or direction in scene space, in doubles (+y up, the eye at (0, 0, 4) looking towards -z).
// A plain value type without hidden state; any thread. Rotation frames are three of these.

class Vec3 {
public:
    double x;
    double y;
    double z;

    constexpr Vec3() : x(0.0), y(0.0), z(0.0) {}
    constexpr Vec3(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}

    Vec3 operator-(const Vec3& w) const { return Vec3(x - w.x, y - w.y, z - w.z); }
    Vec3 operator+(const Vec3& w) const { return Vec3(x + w.x, y + w.y, z + w.z); }
    Vec3 operator*(double s) const { return Vec3(s * x, s * y, s * z); }
    // Multiplies by the reciprocal; a zero divisor is not guarded and gives infinities or NaNs.
    Vec3 operator/(double s) const { return *this * (1.0 / s); }
    Vec3& operator+=(const Vec3& w);
    Vec3& operator*=(double s);

    double Length() const;
    // Scales to unit length in place; the zero vector becomes (1, 0, 0) so callers always get a
    // usable direction.
    void Normalize();
    double Dot(const Vec3& w) const { return x * w.x + y * w.y + z * w.z; }
    Vec3 Cross(const Vec3& w) const;
    // Turns this vector by `angle` radians within the plane of itself and n = this x axis, keeping
    // its length: this * cos(angle) + sin(angle) * (|this| / |n|) * n. For an axis perpendicular to
    // this vector it is the rotation about the axis by -angle; for other axes it is not a rotation
    // about the axis, and the creature's and flowers' motion is tuned to exactly this formula.
    // An axis parallel to this vector (|n| == 0) leaves it unchanged.
    Vec3 RotateAbout(const Vec3& axis, double angle) const;
};
