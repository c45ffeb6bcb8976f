#include "scene/FlowersHolder.h"

#include "base/RunLog.h"
#include "gfx/MeshBuffers.h"
#include "gfx/OpenGL.h"
#include "gfx/ShaderProgram.h"
#include "scene/FlowerModels.h"

#include <cstdint>

namespace {
constexpr uint16_t kStalkVertexShader = 125;
constexpr uint16_t kStalkFragmentShader = 124;
constexpr uint16_t kFruitVertexShader = 129;
constexpr uint16_t kFruitFragmentShader = 128;

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

FlowersHolder::FlowersHolder()
{
    valid = false;
    if (!BuildStalkProgram()) {
        Log().Record(kLogError, "Can not create an OpenGL application for Stalk");
        return;
    }
    BuildStalkModel(stalkVertexBuffer, stalkIndexBuffer);
    if (!BuildFruitProgram()) {
        Log().Record(kLogError, "Can not create an OpenGL application for Fruit");
        return;
    }
    BuildFruitModel(fruitVertexBuffer, fruitIndexBuffer);
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

bool FlowersHolder::BuildStalkProgram()
{
    Log().Record(kLogNotify, "Creating OGL program for stalk");
    if (CreateOGLProgram(kStalkVertexShader, kStalkFragmentShader, stalkProgram) != 0)
        return false;
    ribbonVertexesUniform = glGetUniformLocation(stalkProgram, "uRibbonVertexes");
    ribbonMatrixesUniform = glGetUniformLocation(stalkProgram, "uRibbonMatrixes");
    ribbonLengthUniform = glGetUniformLocation(stalkProgram, "uRibbonLength");
    stalkGridPointAttribute = glGetAttribLocation(stalkProgram, "aGridPoint");
    stalkNormalAttribute = glGetAttribLocation(stalkProgram, "aNormal");
    stalkGridXAttribute = glGetAttribLocation(stalkProgram, "aGridX");
    stalkGridYAttribute = glGetAttribLocation(stalkProgram, "aGridY");
    return ribbonVertexesUniform != -1 && ribbonMatrixesUniform != -1 && ribbonLengthUniform != -1 &&
           stalkGridPointAttribute != -1 && stalkNormalAttribute != -1 && stalkGridXAttribute != -1 &&
           stalkGridYAttribute != -1;
}

bool FlowersHolder::BuildFruitProgram()
{
    Log().Record(kLogNotify, "Creating OGL program for fruit");
    if (CreateOGLProgram(kFruitVertexShader, kFruitFragmentShader, fruitProgram) != 0)
        return false;
    transformationUniform = glGetUniformLocation(fruitProgram, "uTransformationMatrix");
    sphereCenterUniform = glGetUniformLocation(fruitProgram, "uSphereCenter");
    // Not tested: a missing attribute only leaves the fruit without its bands.
    fruitGridPointAttribute = glGetAttribLocation(fruitProgram, "aGridPoint");
    return transformationUniform != -1 && sphereCenterUniform != -1;
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
    glDisable(GL_BLEND);
    glUseProgram(stalkProgram);
    glUniformMatrix3fv(ribbonMatrixesUniform, flower.stalk.NodeCount(), GL_FALSE, matrixes);
    glUniform3fv(ribbonVertexesUniform, flower.stalk.NodeCount(), vertexes);
    glUniform1f(ribbonLengthUniform, static_cast<float>(flower.length));
    glBindBuffer(GL_ARRAY_BUFFER, stalkVertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, stalkIndexBuffer);
    glVertexPointer(3, GL_FLOAT, 0, BufferOffset(0));
    glVertexAttribPointer(stalkNormalAttribute, 3, GL_FLOAT, GL_FALSE, 0, BufferOffset(kStalkNormalOffset));
    glVertexAttribPointer(stalkGridXAttribute, 3, GL_FLOAT, GL_FALSE, 0, BufferOffset(kStalkGridXOffset));
    glVertexAttribPointer(stalkGridYAttribute, 3, GL_FLOAT, GL_FALSE, 0, BufferOffset(kStalkGridYOffset));
    glVertexAttribPointer(stalkGridPointAttribute, 2, GL_FLOAT, GL_FALSE, 0, BufferOffset(kStalkGridPointOffset));
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableVertexAttribArray(stalkNormalAttribute);
    glEnableVertexAttribArray(stalkGridXAttribute);
    glEnableVertexAttribArray(stalkGridYAttribute);
    glEnableVertexAttribArray(stalkGridPointAttribute);
    glDrawElements(GL_TRIANGLES, kStalkIndices, GL_UNSIGNED_INT, BufferOffset(0));
    // The arrays stay enabled: the creature sets its own pointers before it draws.
    glUseProgram(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

void FlowersHolder::DrawFruit(const Flower& flower)
{
    glUseProgram(fruitProgram);
    glBindBuffer(GL_ARRAY_BUFFER, fruitVertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, fruitIndexBuffer);
    glVertexPointer(3, GL_FLOAT, 0, BufferOffset(0));
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexAttribPointer(fruitGridPointAttribute, 2, GL_FLOAT, GL_FALSE, 0, BufferOffset(kFruitGridPointOffset));
    glEnableVertexAttribArray(fruitGridPointAttribute);

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
    glUniformMatrix4fv(transformationUniform, 1, GL_FALSE, matrix);
    const Vec3 centre = top.position - top.direction * (flower.length * 0.2 / n + flower.fruitSize);
    glUniform3f(sphereCenterUniform, static_cast<float>(centre.x), static_cast<float>(centre.y),
                static_cast<float>(centre.z));
    glDrawElements(GL_TRIANGLES, kFruitIndices, GL_UNSIGNED_INT, BufferOffset(0));
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glUseProgram(0);
}
