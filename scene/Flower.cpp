#include "scene/Flower.h"

#include "gfx/RandomUnit.h"

#include <cmath>

void Flower::Update(int32_t dt)
{
    double sway = 0.0;
    if (swing > 0.0) {
        sway = swing * std::sin(swingClock / fruitSize * 0.001);
        // The divisor grows with the sway's age, so it dies faster and faster.
        swing = swing / std::exp(swingClock * 1e-7);
        if (swing < 0.01)
            swing = 0.0;
        // The clock wraps as a 32-bit counter would; a sway never lasts that long.
        swingClock = static_cast<int32_t>(static_cast<uint32_t>(swingClock) + static_cast<uint32_t>(dt));
    } else {
        const double chance = RandomUnit();
        if (chance < 0.001) {
            swingClock = 0;
            const double amplitude = RandomUnit();
            swing = (amplitude + 1.0) * 0.2;
        }
    }
    ShapeStalk((sway + 1.0) * fruitSize);
}

void Flower::ShapeStalk(double bend)
{
    Vec3 u(0.0, -1.0, 0.0);
    Vec3 point = root;
    Vec3 w = bendVector;
    // Not normalised: its length is the bend vector's horizontal length.
    const Vec3 q = bendVector.Cross(Vec3(0.0, -1.0, 0.0));
    const double step = -length / stalk.NodeCount();
    for (int j = 0; j < stalk.NodeCount(); ++j) {
        const double s = (0.7 * (j * j) + 1.0) * bend * 0.0015;
        u = u + w * s;
        u.Normalize();
        // Past the half turn the stalk would fold back through itself.
        if (bendVector.Dot(u) < 0.0)
            u = Vec3(0.0, 1.0, 0.0);
        const Vec3 v = u.Cross(q);
        RibbonNode& node = stalk.nodes[j];
        node.position = point;
        node.direction = u;
        node.side = q;
        node.up = v;
        w = v;
        point = point + u * step;
    }
}
