#include "scene/FlowersHolder.h"

#include "base/RunLog.h"
#include "gfx/DrawingState.h"
#include "gfx/MeshBuffers.h"
#include "gfx/OpenGL.h"
#include "gfx/ShaderProgram.h"
#include "scene/FlowerModels.h"

#include <cstdint>

namespace {
struct FlowerPlace {
    Vec3 root, bendVector;
    double length, fruitSize;
};
// On the ground at y = -2, from the left front to the far middle.
const FlowerPlace kFlowers[] = {
    {Vec3(-5.0, -2.0, -20.0), Vec3(-0.7, 0.0, -0.7), 5.0, 0.5},
    {Vec3(5.0, -2.0, -20.0), Vec3(-0.7, 0.0, 0.7), 3.0, 0.3},
    {Vec3(3.0, -2.0, -30.0), Vec3(0.0, 0.0, 1.0), 6.0, 0.6},
    {Vec3(-1.0, -2.0, -40.0), Vec3(0.7, 0.0, -0.7), 10.0, 1.0},
};

} // namespace

const FlowerShaders kFlowerShaders = {125, 124, 129, 128};

FlowersHolder::FlowersHolder(const FlowerShaders& shaders)
{
    valid = false;
    if (!BuildStalkProgram(shaders)) {
        Log().Record(kLogError, "Can not create an OpenGL application for Stalk");
        return;
    }
    BuildStalkModel(stalkVertexBuffer_, stalkIndexBuffer_);
    if (!BuildFruitProgram(shaders)) {
        Log().Record(kLogError, "Can not create an OpenGL application for Fruit");
        return;
    }
    BuildFruitModel(fruitVertexBuffer_, fruitIndexBuffer_);
    flowers.reserve(sizeof kFlowers / sizeof kFlowers[0]);
    for (const FlowerPlace& place : kFlowers) {
        flowers.emplace_back();
        Flower& flower = flowers.back();
        flower.root = place.root;
        flower.bendVector = place.bendVector;
        flower.length = place.length;
        flower.fruitSize = place.fruitSize;
    }
    // Every stalk shaped before the first frame.
    Update(0);
    valid = true;
}

bool FlowersHolder::BuildStalkProgram(const FlowerShaders& shaders)
{
    Log().Record(kLogNotify, "Creating OGL program for stalk");
    if (!stalk_.Build(shaders.stalkVertex, shaders.stalkFragment))
        return false;
    ribbonLengthUniform_ = glGetUniformLocation(stalk_.program, "uRibbonLength");
    return ribbonLengthUniform_ != -1;
}

bool FlowersHolder::BuildFruitProgram(const FlowerShaders& shaders)
{
    Log().Record(kLogNotify, "Creating OGL program for fruit");
    if (CreateOGLProgram(shaders.fruitVertex, shaders.fruitFragment, fruitProgram_) != 0)
        return false;
    transformationUniform_ = glGetUniformLocation(fruitProgram_, "uTransformationMatrix");
    sphereCenterUniform_ = glGetUniformLocation(fruitProgram_, "uSphereCenter");
    // Not tested: a missing attribute only leaves the fruit without its bands.
    fruitGridPointAttribute_ = glGetAttribLocation(fruitProgram_, "aGridPoint");
    return transformationUniform_ != -1 && sphereCenterUniform_ != -1;
}

void FlowersHolder::Update(int32_t elapsedMilliseconds)
{
    for (Flower& flower : flowers)
        flower.Update(elapsedMilliseconds);
}

void FlowersHolder::Draw()
{
    for (Flower& flower : flowers) {
        DrawStalk(flower);
        DrawFruit(flower);
    }
}

void FlowersHolder::DrawStalk(Flower& flower)
{
    const float* matrixes = flower.stalk.FillMatrixes();
    const float* vertexes = flower.stalk.FillVertexes();
    SetSwitch(GL_BLEND, false);
    UseProgram(stalk_.program);
    glUniformMatrix3fv(stalk_.matrixesUniform, flower.stalk.NodeCount(), GL_FALSE, matrixes);
    glUniform3fv(stalk_.vertexesUniform, flower.stalk.NodeCount(), vertexes);
    glUniform1f(ribbonLengthUniform_, static_cast<float>(flower.length));
    glBindBuffer(GL_ARRAY_BUFFER, stalkVertexBuffer_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, stalkIndexBuffer_);
    glVertexPointer(3, GL_FLOAT, 0, BufferOffset(0));
    glVertexAttribPointer(stalk_.normalAttribute, 3, GL_FLOAT, GL_FALSE, 0, BufferOffset(kStalkNormalOffset));
    glVertexAttribPointer(stalk_.gridXAttribute, 3, GL_FLOAT, GL_FALSE, 0, BufferOffset(kStalkGridXOffset));
    glVertexAttribPointer(stalk_.gridYAttribute, 3, GL_FLOAT, GL_FALSE, 0, BufferOffset(kStalkGridYOffset));
    glVertexAttribPointer(stalk_.gridPointAttribute, 2, GL_FLOAT, GL_FALSE, 0, BufferOffset(kStalkGridPointOffset));
    glEnableClientState(GL_VERTEX_ARRAY);
    SetGenericArray(stalk_.normalAttribute, true);
    SetGenericArray(stalk_.gridXAttribute, true);
    SetGenericArray(stalk_.gridYAttribute, true);
    SetGenericArray(stalk_.gridPointAttribute, true);
    glDrawElements(GL_TRIANGLES, kStalkIndices, GL_UNSIGNED_INT, BufferOffset(0));
    // The arrays stay enabled: the creature sets its own pointers before it draws.
    UseProgram(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

void FlowersHolder::DrawFruit(const Flower& flower)
{
    UseProgram(fruitProgram_);
    glBindBuffer(GL_ARRAY_BUFFER, fruitVertexBuffer_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, fruitIndexBuffer_);
    glVertexPointer(3, GL_FLOAT, 0, BufferOffset(0));
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexAttribPointer(fruitGridPointAttribute_, 2, GL_FLOAT, GL_FALSE, 0, BufferOffset(kFruitGridPointOffset));
    SetGenericArray(fruitGridPointAttribute_, true);

    const int n = flower.stalk.NodeCount();
    const RibbonNode& top = flower.stalk.nodes[n - 1];
    // The attachment point, 1 % of the length beyond the top node; the sphere extends from it.
    const Vec3 attach = top.position - top.direction * (flower.length * 0.2 / n);
    const Vec3 x = top.direction * -1.0 * flower.fruitSize;
    const Vec3 y = top.side * flower.fruitSize;
    const Vec3 z = top.up * flower.fruitSize;
    const float matrix[16] = {
        static_cast<float>(x.x),      static_cast<float>(x.y),      static_cast<float>(x.z),      0.0f,
        static_cast<float>(y.x),      static_cast<float>(y.y),      static_cast<float>(y.z),      0.0f,
        static_cast<float>(z.x),      static_cast<float>(z.y),      static_cast<float>(z.z),      0.0f,
        static_cast<float>(attach.x), static_cast<float>(attach.y), static_cast<float>(attach.z), 1.0f,
    };
    glUniformMatrix4fv(transformationUniform_, 1, GL_FALSE, matrix);
    const Vec3 centre = top.position - top.direction * (flower.length * 0.2 / n + flower.fruitSize);
    glUniform3f(sphereCenterUniform_, static_cast<float>(centre.x), static_cast<float>(centre.y),
                static_cast<float>(centre.z));
    glDrawElements(GL_TRIANGLES, kFruitIndices, GL_UNSIGNED_INT, BufferOffset(0));
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    UseProgram(0);
}
