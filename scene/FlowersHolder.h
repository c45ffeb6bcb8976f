#pragma once
// The four flowers in front of the camera: green, lightly embossed stalks bent on the GPU along
// each flower's ribbon, and blue, patterned fruit on top, all fading into the grey fog that lies
// on the ground. The four share one stalk mesh, one fruit mesh and two programs.
//
// Render thread only, with the rendering context current. Programs and buffers go with the context.

#include "scene/Flower.h"

#include <cstdint>
#include <vector>

class FlowersHolder {
public:
    // Builds the stalk program and mesh, the fruit program and mesh, then the four flowers, and
    // shapes every stalk once. Valid only when all of it was made; a failing program writes its
    // error record and stops there.
    FlowersHolder();

    FlowersHolder(const FlowersHolder&) = delete;
    FlowersHolder& operator=(const FlowersHolder&) = delete;

    // The sway and shape of every flower, in creation order.
    void Update(int32_t elapsedMilliseconds);
    // Every flower's stalk, then its fruit.
    void Draw();

    std::vector<Flower> flowers; // creation order
    bool valid = false;

    uint32_t stalkProgram = 0;
    int32_t ribbonVertexesUniform = -1;
    int32_t ribbonMatrixesUniform = -1;
    int32_t ribbonLengthUniform = -1;
    int32_t stalkNormalAttribute = -1;
    int32_t stalkGridXAttribute = -1;
    int32_t stalkGridYAttribute = -1;
    int32_t stalkGridPointAttribute = -1;
    uint32_t stalkVertexBuffer = 0;
    uint32_t stalkIndexBuffer = 0;

    uint32_t fruitProgram = 0;
    int32_t transformationUniform = -1;
    int32_t sphereCenterUniform = -1;
    int32_t fruitGridPointAttribute = -1;
    uint32_t fruitVertexBuffer = 0;
    uint32_t fruitIndexBuffer = 0;

private:
    bool BuildStalkProgram();
    bool BuildFruitProgram();
    void DrawStalk(Flower& flower);
    void DrawFruit(const Flower& flower);
};
