#include "scene/FlowerModels.h"

#include "gfx/OpenGL.h"

namespace {
void Upload(const FlowerMesh& mesh, uint32_t& vertexBuffer, uint32_t& indexBuffer)
{
    GLuint names[2] = {0, 0};
    glGenBuffers(1, &names[0]);
    vertexBuffer = names[0];
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(mesh.vertices.size() * sizeof(float)), mesh.vertices.data(),
                 GL_STATIC_DRAW);
    glGenBuffers(1, &names[1]);
    indexBuffer = names[1];
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(mesh.indices.size() * sizeof(uint32_t)),
                 mesh.indices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}
} // namespace

void BuildStalkModel(uint32_t& vertexBuffer, uint32_t& indexBuffer)
{
    Upload(MakeStalkMesh(), vertexBuffer, indexBuffer);
}

void BuildFruitModel(uint32_t& vertexBuffer, uint32_t& indexBuffer)
{
    Upload(MakeFruitMesh(), vertexBuffer, indexBuffer);
}
