#include "gfx/MeshFit.h"
#include "scene/CreatureModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {
MeshVertex At(double x, double y, double z)
{
    return MeshVertex(x, y, z, 0.5, 0.25, 0, 0, 1, 1, 0, 0, 0, 1, 0);
}

// A private copy of the creature's table, so that the process-wide records stay unfitted.
struct CreatureCopy {
    std::vector<std::vector<MeshVertex>> vertices;
    std::vector<MeshDescriptor> table;
    CreatureCopy()
    {
        for (int row = 0; row < kCreatureMeshCount; ++row) {
            const MeshDescriptor& source = g_creatureMeshes[row];
            vertices.emplace_back(source.vertices, source.vertices + source.vertexCount);
        }
        for (int row = 0; row < kCreatureMeshCount; ++row) {
            const MeshDescriptor& source = g_creatureMeshes[row];
            table.push_back({source.vertexCount, source.triangleCount, vertices[row].data(), source.indices, 0, 0});
        }
        table.push_back({0, 0, nullptr, nullptr, 0, 0});
    }
};
} // namespace

TEST(MeshFit, MovesTheSmallestXTo001AndTheLargestTo1AndScalesYAndZAlike)
{
    std::vector<MeshVertex> first = {At(-2.0, 1.0, -0.5), At(0.0, 0.0, 0.0)};
    std::vector<MeshVertex> second = {At(3.0, -4.0, 2.0)};
    MeshDescriptor table[] = {{2, 0, first.data(), nullptr, 0, 0},
                              {1, 0, second.data(), nullptr, 0, 0},
                              {0, 0, nullptr, nullptr, 0, 0}};
    FitMeshTable(table);
    const double s = 0.99 / 5.0;
    EXPECT_DOUBLE_EQ(first[0].position.x, 0.01);
    EXPECT_DOUBLE_EQ(first[0].position.y, 1.0 * s);
    EXPECT_DOUBLE_EQ(first[0].position.z, -0.5 * s);
    EXPECT_DOUBLE_EQ(first[1].position.x, 2.0 * s + 0.01);
    EXPECT_DOUBLE_EQ(second[0].position.x, 1.0);
    EXPECT_DOUBLE_EQ(second[0].position.y, -4.0 * s);
    EXPECT_DOUBLE_EQ(second[0].position.z, 2.0 * s);
    // Only positions move.
    EXPECT_EQ(second[0].gridPoint.x, 0.5);
    EXPECT_EQ(second[0].normal.z, 1.0);
    EXPECT_EQ(second[0].gridX.x, 1.0);
    EXPECT_EQ(second[0].gridY.y, 1.0);
}

TEST(MeshFit, EmptyFlatAndEndedTablesAreLeftAlone)
{
    MeshDescriptor empty[] = {{0, 0, nullptr, nullptr, 0, 0}};
    FitMeshTable(empty);

    std::vector<MeshVertex> flat = {At(2.0, 1.0, 1.0), At(2.0, -1.0, 3.0)};
    MeshDescriptor flatTable[] = {{2, 0, flat.data(), nullptr, 0, 0}, {0, 0, nullptr, nullptr, 0, 0}};
    FitMeshTable(flatTable);
    EXPECT_EQ(flat[0].position.x, 2.0);
    EXPECT_EQ(flat[1].position.z, 3.0);

    // Rows after the end row are not part of the table.
    std::vector<MeshVertex> counted = {At(0.0, 0, 0), At(1.0, 0, 0)};
    std::vector<MeshVertex> after = {At(100.0, 0, 0)};
    MeshDescriptor ended[] = {{2, 0, counted.data(), nullptr, 0, 0},
                              {0, 0, nullptr, nullptr, 0, 0},
                              {1, 0, after.data(), nullptr, 0, 0}};
    FitMeshTable(ended);
    EXPECT_DOUBLE_EQ(counted[1].position.x, 1.0);
    EXPECT_EQ(after[0].position.x, 100.0);
}

TEST(MeshFit, TheCreatureFitsOntoTheRibbonAndASecondFitChangesNothing)
{
    CreatureCopy creature;
    FitMeshTable(creature.table.data());
    double low = 1e9, high = -1e9;
    for (const std::vector<MeshVertex>& mesh : creature.vertices)
        for (const MeshVertex& vertex : mesh) {
            low = std::min(low, vertex.position.x);
            high = std::max(high, vertex.position.x);
        }
    EXPECT_DOUBLE_EQ(low, 0.01);
    EXPECT_DOUBLE_EQ(high, 1.0);
    // y and z keep the proportions of the model (y spans +-1.287 before fitting).
    const double s = 0.99 / (5.77132 + 6.06873);
    double highY = 0.0;
    for (const MeshVertex& vertex : creature.vertices[0])
        highY = std::max(highY, vertex.position.y);
    EXPECT_NEAR(highY, 1.287 * s, 0.001 * s);

    const std::vector<std::vector<MeshVertex>> fitted = creature.vertices;
    FitMeshTable(creature.table.data());
    for (size_t row = 0; row < fitted.size(); ++row)
        for (size_t i = 0; i < fitted[row].size(); ++i) {
            EXPECT_NEAR(creature.vertices[row][i].position.x, fitted[row][i].position.x, 1e-12);
            EXPECT_NEAR(creature.vertices[row][i].position.y, fitted[row][i].position.y, 1e-12);
            EXPECT_NEAR(creature.vertices[row][i].position.z, fitted[row][i].position.z, 1e-12);
        }
}
