#pragma once
// One row of a mesh table: a mesh's counts, its records and, once uploaded, its buffer names.
// A row with vertex count 0 ends the table.

#include "gfx/MeshVertex.h"

#include <cstdint>

struct MeshDescriptor {
    int32_t vertexCount;
    int32_t triangleCount;
    MeshVertex* vertices;   // vertexCount records
    const int32_t* indices; // 3 per triangle, 0-based into `vertices`
    uint32_t vertexBuffer;  // OpenGL buffer names, 0 until uploaded
    uint32_t indexBuffer;
};
