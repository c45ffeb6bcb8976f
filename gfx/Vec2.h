#pragma once
// A point or distance in the plane, in doubles: grid (texture) points of mesh vertices and 2D
// distances in procedural textures. A plain value type; any thread.

class Vec2 {
public:
    double x;
    double y;

    constexpr Vec2() : x(0.0), y(0.0) {}
    constexpr Vec2(double x_, double y_) : x(x_), y(y_) {}

    double Length() const;
};
