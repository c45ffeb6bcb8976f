#pragma once
// One vertex of the creature's model: position, grid point and the local surface frame that the
// procedural fragment shaders draw scales and wrinkles in. 14 doubles, in this order.

#include "gfx/Vec2.h"
#include "gfx/Vec3.h"

class MeshVertex {
public:
    Vec3 position;  // model units; x runs from tail (small) to head (large)
    Vec2 gridPoint; // (u along the body, v around it), in grid units
    Vec3 normal;    // unit, outwards
    Vec3 gridX;     // unit tangent towards growing u
    Vec3 gridY;     // unit tangent towards growing v; its x is 0

    // Constant: the model's tables are filled when the program is compiled and loaded, and cost
    // the compiler no initialisation code.
    constexpr MeshVertex(double x, double y, double z, double u, double v, double nx, double ny, double nz,
                         double gxx, double gxy, double gxz, double gyx, double gyy, double gyz)
        : position(x, y, z), gridPoint(u, v), normal(nx, ny, nz), gridX(gxx, gxy, gxz), gridY(gyx, gyy, gyz)
    {
    }
};
