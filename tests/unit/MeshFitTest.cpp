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
    // Each row's fitted extent in x, y and z, to three decimals: the body spans the ribbon, the sac
    // hangs under its middle, the eyes and horns sit at the head.
    const double kFitted[kCreatureMeshCount][6] = {
        {0.01, 1.0, -0.108, 0.108, -0.063, 0.092},
        {0.349, 0.749, -0.107, 0.107, -0.166, -0.063},
        {0.890, 0.933, -0.069, 0.069, 0.011, 0.054},
        {0.864, 0.882, -0.105, 0.102, 0.069, 0.134},
    };
    CreatureCopy creature;
    FitMeshTable(creature.table.data());
    for (int row = 0; row < kCreatureMeshCount; ++row) {
        double extent[6] = {1e9, -1e9, 1e9, -1e9, 1e9, -1e9};
        for (const MeshVertex& vertex : creature.vertices[row]) {
            const double p[3] = {vertex.position.x, vertex.position.y, vertex.position.z};
            for (int axis = 0; axis < 3; ++axis) {
                extent[2 * axis] = std::min(extent[2 * axis], p[axis]);
                extent[2 * axis + 1] = std::max(extent[2 * axis + 1], p[axis]);
            }
        }
        for (int k = 0; k < 6; ++k)
            EXPECT_NEAR(extent[k], kFitted[row][k], 0.0005 + 1e-12) << "row " << row << ", bound " << k;
    }

    const std::vector<std::vector<MeshVertex>> fitted = creature.vertices;
    FitMeshTable(creature.table.data());
    for (size_t row = 0; row < fitted.size(); ++row)
        for (size_t i = 0; i < fitted[row].size(); ++i) {
            EXPECT_NEAR(creature.vertices[row][i].position.x, fitted[row][i].position.x, 1e-12);
            EXPECT_NEAR(creature.vertices[row][i].position.y, fitted[row][i].position.y, 1e-12);
            EXPECT_NEAR(creature.vertices[row][i].position.z, fitted[row][i].position.z, 1e-12);
        }
}
