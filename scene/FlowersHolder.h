#pragma once
// The four flowers in front of the camera: green, lightly embossed stalks bent on the GPU along
// each flower's ribbon, and blue, patterned fruit on top, all fading into the grey fog that lies
// on the ground. The four share one stalk mesh, one fruit mesh and two programs.
//
// Render thread only, with the rendering context current. Programs and buffers go with the context.

#include "scene/Flower.h"
#include "scene/RibbonProgram.h"

#include <cstdint>
#include <vector>

// The four shader resources of the flowers' two programs.
struct FlowerShaders {
    uint16_t stalkVertex;
    uint16_t stalkFragment;
    uint16_t fruitVertex;
    uint16_t fruitFragment;
};
// The saver's own: the stalk's ribbon shader (125) and surface (124), the fruit's (129, 128).
extern const FlowerShaders kFlowerShaders;

class FlowersHolder {
public:
    // Builds the stalk program and mesh, the fruit program and mesh, then the four flowers, and
    // shapes every stalk once. Valid only when all of it was made; a failing program writes its
    // error record and stops there.
    FlowersHolder() : FlowersHolder(kFlowerShaders) {}
    // The same from other shader resources (a test's).
    explicit FlowersHolder(const FlowerShaders& shaders);

    FlowersHolder(const FlowersHolder&) = delete;
    FlowersHolder& operator=(const FlowersHolder&) = delete;

    // The sway and shape of every flower, in creation order.
    void Update(int32_t elapsedMilliseconds);
    // Every flower's stalk, then its fruit.
    void Draw();

    // The program that draws the fruit, for reading its uniforms back.
    uint32_t FruitProgram() const { return fruitProgram_; }

    std::vector<Flower> flowers; // creation order
    bool valid = false;

private:
    bool BuildStalkProgram(const FlowerShaders& shaders);
    bool BuildFruitProgram(const FlowerShaders& shaders);
    void DrawStalk(Flower& flower);
    void DrawFruit(const Flower& flower);

    RibbonProgram stalk_;
    int32_t ribbonLengthUniform_ = -1;
    uint32_t stalkVertexBuffer_ = 0;
    uint32_t stalkIndexBuffer_ = 0;

    uint32_t fruitProgram_ = 0;
    int32_t transformationUniform_ = -1;
    int32_t sphereCenterUniform_ = -1;
    int32_t fruitGridPointAttribute_ = -1;
    uint32_t fruitVertexBuffer_ = 0;
    uint32_t fruitIndexBuffer_ = 0;
};
