#include "gfx/MeshBuffers.h"

#include "gfx/OpenGL.h"

#include <cstring>
#include <memory>
#include <new>

namespace {
void PutVec3(float* block, int32_t index, const Vec3& value)
{
    block[index * 3 + 0] = static_cast<float>(value.x);
    block[index * 3 + 1] = static_cast<float>(value.y);
    block[index * 3 + 2] = static_cast<float>(value.z);
}
} // namespace

int UploadMeshRow(MeshDescriptor& row)
{
    const int32_t count = row.vertexCount;
    std::unique_ptr<float[]> vertexData(new (std::nothrow) float[static_cast<size_t>(count) * 14]);
    std::unique_ptr<uint32_t[]> indexData(new (std::nothrow) uint32_t[static_cast<size_t>(row.triangleCount) * 3]);
    if (!vertexData || !indexData)
        return 1;

    float* const positions = vertexData.get();
    float* const gridX = positions + 3 * count;
    float* const gridY = positions + 6 * count;
    float* const normals = positions + 9 * count;
    float* const gridPoints = positions + 12 * count;
    for (int32_t i = 0; i < count; ++i) {
        const MeshVertex& vertex = row.vertices[i];
        PutVec3(positions, i, vertex.position);
        PutVec3(gridX, i, vertex.gridX);
        PutVec3(gridY, i, vertex.gridY);
        PutVec3(normals, i, vertex.normal);
        gridPoints[i * 2 + 0] = static_cast<float>(vertex.gridPoint.x);
        gridPoints[i * 2 + 1] = static_cast<float>(vertex.gridPoint.y);
    }
    GLuint vertexBuffer = 0;
    glGenBuffers(1, &vertexBuffer);
    row.vertexBuffer = vertexBuffer;
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, MeshBlockOffsets::Size(count), positions, GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    const size_t indexBytes = static_cast<size_t>(row.triangleCount) * 12;
    std::memcpy(indexData.get(), row.indices, indexBytes);
    GLuint indexBuffer = 0;
    glGenBuffers(1, &indexBuffer);
    row.indexBuffer = indexBuffer;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indexBytes), indexData.get(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    return 0;
}
