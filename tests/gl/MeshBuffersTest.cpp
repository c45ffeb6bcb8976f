#include "gl/GlTest.h"

#include "gfx/MeshBuffers.h"
#include "scene/CreatureModel.h"

#include <gtest/gtest.h>

namespace {
GLint BufferSize(GLenum target, GLuint buffer)
{
    glBindBuffer(target, buffer);
    GLint size = -1;
    glGetBufferParameteriv(target, GL_BUFFER_SIZE, &size);
    glBindBuffer(target, 0);
    return size;
}

std::vector<float> ReadFloats(GLuint buffer, long offset, size_t count)
{
    std::vector<float> values(count);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, offset, static_cast<GLsizeiptr>(count * sizeof(float)), values.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return values;
}

std::vector<float> Floats(const Vec3& v)
{
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}
} // namespace

TEST(MeshBuffers, EachCreatureRowUploadsItsFiveBlocksAndItsIndices)
{
    const long sizes[kCreatureMeshCount][2] = {{47320, 16488}, {7448, 2400}, {10304, 4320}, {16128, 6816}};
    for (int r = 0; r < kCreatureMeshCount; ++r) {
        // A copy of the row, so the table's own buffer names stay as they are.
        MeshDescriptor row = g_creatureMeshes[r];
        ASSERT_EQ(UploadMeshRow(row), 0);
        ASSERT_NE(row.vertexBuffer, 0u);
        ASSERT_NE(row.indexBuffer, 0u);
        EXPECT_EQ(BufferSize(GL_ARRAY_BUFFER, row.vertexBuffer), sizes[r][0]) << r;
        EXPECT_EQ(BufferSize(GL_ELEMENT_ARRAY_BUFFER, row.indexBuffer), sizes[r][1]) << r;

        const long n = row.vertexCount;
        for (int i : {0, row.vertexCount / 2, row.vertexCount - 1}) {
            const MeshVertex& vertex = row.vertices[i];
            EXPECT_EQ(ReadFloats(row.vertexBuffer, 12 * i, 3), Floats(vertex.position)) << r << ":" << i;
            EXPECT_EQ(ReadFloats(row.vertexBuffer, MeshBlockOffsets::GridX(n) + 12 * i, 3), Floats(vertex.gridX));
            EXPECT_EQ(ReadFloats(row.vertexBuffer, MeshBlockOffsets::GridY(n) + 12 * i, 3), Floats(vertex.gridY));
            EXPECT_EQ(ReadFloats(row.vertexBuffer, MeshBlockOffsets::Normal(n) + 12 * i, 3), Floats(vertex.normal));
            EXPECT_EQ(ReadFloats(row.vertexBuffer, MeshBlockOffsets::GridPoint(n) + 8 * i, 2),
                      (std::vector<float>{static_cast<float>(vertex.gridPoint.x),
                                          static_cast<float>(vertex.gridPoint.y)}));
        }
        std::vector<uint32_t> indices(static_cast<size_t>(row.triangleCount) * 3);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, row.indexBuffer);
        glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(indices.size() * 4), indices.data());
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        EXPECT_TRUE(std::equal(indices.begin(), indices.end(), row.indices)) << r;
    }
    GLint bound = -1;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);
}
