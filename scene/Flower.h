#pragma once
// One flower: a fruit on a long, flaring stalk standing on the ground. Its ribbon is written
// whole every frame from the root: the stalk climbs nearly upright and droops towards the top
// under the fruit's weight, and now and then a sway starts that swells and ebbs the droop and
// dies away. The drawing is the FlowersHolder's. Render thread only.

#include "gfx/Vec3.h"
#include "scene/Ribbon.h"

#include <cstdint>

struct Flower {
    Vec3 root;       // foot of the stalk on the ground: node 0
    Vec3 bendVector; // horizontal; the stalk curves away from it
    double swing = 0.0;     // sway amplitude; 0 or less: at rest
    int32_t swingClock = 0; // milliseconds since the sway began
    Ribbon stalk;
    double length = 0.0;    // scene units; the shader stretches the stalk to it
    double fruitSize = 0.0; // the fruit's radius, the weight that bends the stalk, the sway's pace

    // One frame of `dt` milliseconds: the sway (one draw at rest, two when a sway starts), then
    // the stalk shaped with the droop it gives.
    void Update(int32_t dt);
    // Writes all 20 nodes: from the root up in steps of length / 20, each node tilted further
    // away from the bend vector by (0.7 j^2 + 1) bend 0.0015.
    void ShapeStalk(double bend);
};
