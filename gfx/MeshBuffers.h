#pragma once
// Uploading the rows of a mesh table as OpenGL buffers. Render thread only, with the rendering
// context current.

#include "gfx/MeshDescriptor.h"

#include <cstdint>

// Uploads one row: a vertex buffer of five tightly packed float blocks (positions, grid x rulers,
// grid y rulers, normals, grid points: 56 bytes per vertex) and an index buffer of 32-bit indices
// (12 bytes per triangle), both GL_STATIC_DRAW. 0 on success; 1 only when memory for the staging
// copy cannot be had, leaving the row's buffers 0.
int UploadMeshRow(MeshDescriptor& row);

// A byte offset into the bound buffer, in the pointer form that the array-pointer calls take.
inline const void* BufferOffset(intptr_t bytes)
{
    return reinterpret_cast<const void*>(bytes);
}

// Byte offsets of the blocks of a row with `vertexCount` vertices.
struct MeshBlockOffsets {
    static constexpr long GridX(long vertexCount) { return 12 * vertexCount; }
    static constexpr long GridY(long vertexCount) { return 24 * vertexCount; }
    static constexpr long Normal(long vertexCount) { return 36 * vertexCount; }
    static constexpr long GridPoint(long vertexCount) { return 48 * vertexCount; }
    static constexpr long Size(long vertexCount) { return 56 * vertexCount; }
};
