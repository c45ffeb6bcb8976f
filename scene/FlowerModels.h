#pragma once
// The two meshes that the four flowers share, computed by code: the stalk, a flaring tube along x
// from 1 (the foot) to 0.001 (the top), and the fruit, a unit sphere centred at (1, 0, 0). Each
// is a vertex array of floats in blocks, as uploaded, and an index array of triangles.

#include <cstdint>
#include <vector>

struct FlowerMesh {
    std::vector<float> vertices;  // blocks of one attribute each, in vertex order
    std::vector<uint32_t> indices; // three per triangle
};

// 61 rings of 6 vertices, 720 triangles; blocks: positions, normals (from byte 4392), grid x
// rulers (8784), grid y rulers (13176), grid points (17568).
constexpr int kStalkVertices = 366;
constexpr int kStalkIndices = 2160;
constexpr long kStalkNormalOffset = 4392;
constexpr long kStalkGridXOffset = 8784;
constexpr long kStalkGridYOffset = 13176;
constexpr long kStalkGridPointOffset = 17568;
FlowerMesh MakeStalkMesh();

// 11 rings of 21 vertices, 400 triangles; blocks: positions, grid points (from byte 2772).
constexpr int kFruitVertices = 231;
constexpr int kFruitIndices = 1200;
constexpr long kFruitGridPointOffset = 2772;
FlowerMesh MakeFruitMesh();

// Build a mesh, upload it as static vertex and index buffers and give their names. Render thread
// only, with the rendering context current.
void BuildStalkModel(uint32_t& vertexBuffer, uint32_t& indexBuffer);
void BuildFruitModel(uint32_t& vertexBuffer, uint32_t& indexBuffer);
