#pragma once
// The creature's model, built from a few shapes: a long tube for the body with a row of spines on
// its back, a wrinkled sac under its middle, two eyes and two horns. Coordinates are the model's
// own (before the saver fits it to the ribbon): tail at small x, head at large x, +z up.

#include "gfx/Vec2.h"
#include "gfx/Vec3.h"

#include <string>
#include <vector>

struct ModelVertex {
    Vec3 position;
    Vec2 grid;
    Vec3 normal;
    Vec3 gridX;
    Vec3 gridY;
};

struct ModelMesh {
    const char* name; // as in the generated source: Body, Wrinkles, Eyes, Horns
    std::vector<ModelVertex> vertices;
    std::vector<int> indices; // three per triangle, counter-clockwise seen from outside
};

// The four meshes in table order: body, wrinkles, eyes, horns.
std::vector<ModelMesh> MakeCreature();

// The compiled-in form: per mesh an index block (counts, then triangles) and a vertex array.
void WriteCreatureSource(const std::string& path, const std::vector<ModelMesh>& meshes);
