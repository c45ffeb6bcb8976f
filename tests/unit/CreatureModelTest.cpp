#include <gtest/gtest.h>

#include "scene/CreatureModel.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace {
struct Extent {
    double low = 1e300, high = -1e300;
    void Add(double v)
    {
        low = std::min(low, v);
        high = std::max(high, v);
    }
};

struct RowExpectation {
    int vertices, triangles;
    double u0, u1, v0, v1;
};
const RowExpectation kRows[kCreatureMeshCount] = {
    {845, 1374, 0, 14.27, -4, 8},
    {133, 200, 0, 9.56, 1.35, 6.65},
    {184, 360, 0, 0.66, -3.73, -0.27},
    {288, 568, 0, 0.20, -2.87, -1.17},
};

// True when `value` shows as `expected` at the given number of decimals.
::testing::AssertionResult ShowsAs(double value, double expected, int decimals)
{
    const double half = 0.5 * std::pow(10.0, -decimals);
    if (std::fabs(value - expected) <= half + 1e-12)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << value << " does not show as " << expected << " at " << decimals
                                         << " decimals";
}

Vec3 FaceNormal(const MeshDescriptor& mesh, int triangle)
{
    const Vec3& a = mesh.vertices[mesh.indices[3 * triangle]].position;
    const Vec3& b = mesh.vertices[mesh.indices[3 * triangle + 1]].position;
    const Vec3& c = mesh.vertices[mesh.indices[3 * triangle + 2]].position;
    return (b - a).Cross(c - a);
}
} // namespace

TEST(CreatureModel, RowsHaveTheirCountsAndTheTableEnds)
{
    for (int row = 0; row < kCreatureMeshCount; ++row) {
        EXPECT_EQ(kRows[row].vertices, g_creatureMeshes[row].vertexCount) << row;
        EXPECT_EQ(kRows[row].triangles, g_creatureMeshes[row].triangleCount) << row;
        EXPECT_EQ(0u, g_creatureMeshes[row].vertexBuffer);
        EXPECT_EQ(0u, g_creatureMeshes[row].indexBuffer);
    }
    EXPECT_EQ(0, g_creatureMeshes[kCreatureMeshCount].vertexCount);
    EXPECT_EQ(0, g_creatureMeshes[kCreatureMeshCount].triangleCount);
}

TEST(CreatureModel, IndicesStayInsideTheirMeshAndUseEveryVertex)
{
    for (int row = 0; row < kCreatureMeshCount; ++row) {
        const MeshDescriptor& mesh = g_creatureMeshes[row];
        std::vector<int> uses(mesh.vertexCount, 0);
        for (int i = 0; i < 3 * mesh.triangleCount; ++i) {
            ASSERT_GE(mesh.indices[i], 0) << row;
            ASSERT_LT(mesh.indices[i], mesh.vertexCount) << row;
            ++uses[mesh.indices[i]];
        }
        EXPECT_EQ(0, std::count(uses.begin(), uses.end(), 0)) << "unused vertices in row " << row;
    }
}

TEST(CreatureModel, ModelUnitsBeforeFitting)
{
    Extent x, y, z;
    for (int row = 0; row < kCreatureMeshCount; ++row)
        for (int i = 0; i < g_creatureMeshes[row].vertexCount; ++i) {
            const Vec3& p = g_creatureMeshes[row].vertices[i].position;
            x.Add(p.x);
            y.Add(p.y);
            z.Add(p.z);
        }
    EXPECT_TRUE(ShowsAs(x.low, -6.06873, 5));
    EXPECT_TRUE(ShowsAs(x.high, 5.77132, 5));
    EXPECT_TRUE(ShowsAs(y.low, -1.287, 3));
    EXPECT_TRUE(ShowsAs(y.high, 1.287, 3));
    EXPECT_TRUE(ShowsAs(z.low, -1.981, 3));
    EXPECT_TRUE(ShowsAs(z.high, 1.602, 3));
}

TEST(CreatureModel, EachRowsGridSpan)
{
    for (int row = 0; row < kCreatureMeshCount; ++row) {
        const MeshDescriptor& mesh = g_creatureMeshes[row];
        const RowExpectation& want = kRows[row];
        Extent u, v;
        for (int i = 0; i < mesh.vertexCount; ++i) {
            u.Add(mesh.vertices[i].gridPoint.x);
            v.Add(mesh.vertices[i].gridPoint.y);
        }
        SCOPED_TRACE(row);
        EXPECT_TRUE(ShowsAs(u.low, want.u0, 2));
        EXPECT_TRUE(ShowsAs(u.high, want.u1, 2));
        EXPECT_TRUE(ShowsAs(v.low, want.v0, 2));
        EXPECT_TRUE(ShowsAs(v.high, want.v1, 2));
    }
}

TEST(CreatureModel, EveryFrameIsOrthonormalRightHandedWithItsYRulerAcrossTheBody)
{
    for (int row = 0; row < kCreatureMeshCount; ++row)
        for (int i = 0; i < g_creatureMeshes[row].vertexCount; ++i) {
            const MeshVertex& v = g_creatureMeshes[row].vertices[i];
            SCOPED_TRACE(::testing::Message() << "row " << row << " vertex " << i);
            ASSERT_NEAR(1, v.normal.Length(), 1e-6);
            ASSERT_NEAR(1, v.gridX.Length(), 1e-6);
            ASSERT_NEAR(1, v.gridY.Length(), 1e-6);
            ASSERT_NEAR(0, v.normal.Dot(v.gridX), 1e-6);
            ASSERT_NEAR(0, v.normal.Dot(v.gridY), 1e-6);
            ASSERT_NEAR(0, v.gridX.Dot(v.gridY), 1e-6);
            const Vec3 n = v.gridX.Cross(v.gridY);
            ASSERT_NEAR(v.normal.x, n.x, 1e-6);
            ASSERT_NEAR(v.normal.y, n.y, 1e-6);
            ASSERT_NEAR(v.normal.z, n.z, 1e-6);
            ASSERT_NEAR(0, v.gridY.x, 1e-6);
        }
}

TEST(CreatureModel, TrianglesWindCounterClockwiseSeenFromOutside)
{
    for (int row = 0; row < kCreatureMeshCount; ++row) {
        const MeshDescriptor& mesh = g_creatureMeshes[row];
        // Each directed edge once: neighbours agree on the orientation.
        std::map<std::pair<int, int>, int> edges;
        for (int t = 0; t < mesh.triangleCount; ++t) {
            const int* corner = mesh.indices + 3 * t;
            const Vec3 outward = mesh.vertices[corner[0]].normal + mesh.vertices[corner[1]].normal +
                                 mesh.vertices[corner[2]].normal;
            ASSERT_GT(FaceNormal(mesh, t).Dot(outward), 0) << "row " << row << " triangle " << t;
            for (int k = 0; k < 3; ++k) {
                const std::pair<int, int> edge(corner[k], corner[(k + 1) % 3]);
                ASSERT_EQ(1, ++edges[edge]) << "row " << row << " triangle " << t;
            }
        }
        // Eyes and horns are closed: every edge is walked once each way.
        if (row >= 2) {
            for (const auto& edge : edges)
                ASSERT_TRUE(edges.count({edge.first.second, edge.first.first})) << "open edge in row " << row;
        }
    }
}

TEST(CreatureModel, TailAtSmallXHeadAtLargeX)
{
    // The body is thin at its tail end and the eyes and horns sit at the other end.
    const MeshDescriptor& body = g_creatureMeshes[0];
    Extent length;
    for (int i = 0; i < body.vertexCount; ++i)
        length.Add(body.vertices[i].position.x);
    Extent tail, head;
    for (int i = 0; i < body.vertexCount; ++i) {
        const MeshVertex& v = body.vertices[i];
        const double along = (v.position.x - length.low) / (length.high - length.low);
        if (along < 0.09)
            tail.Add(v.position.y);
        if (along > 0.85 && along < 0.95)
            head.Add(v.position.y);
    }
    EXPECT_LT(tail.high - tail.low, 0.4 * (head.high - head.low));
}

namespace {
// The direction in which `value` grows across triangle t, within its plane.
Vec3 GrowthAcross(const MeshDescriptor& mesh, int t, double (*value)(const MeshVertex&))
{
    const MeshVertex& a = mesh.vertices[mesh.indices[3 * t]];
    const MeshVertex& b = mesh.vertices[mesh.indices[3 * t + 1]];
    const MeshVertex& c = mesh.vertices[mesh.indices[3 * t + 2]];
    const Vec3 e1 = b.position - a.position, e2 = c.position - a.position;
    const double d1 = value(b) - value(a), d2 = value(c) - value(a);
    // grad = alpha e1 + beta e2 with grad . e1 = d1 and grad . e2 = d2.
    const double g11 = e1.Dot(e1), g12 = e1.Dot(e2), g22 = e2.Dot(e2), det = g11 * g22 - g12 * g12;
    const double alpha = (d1 * g22 - d2 * g12) / det, beta = (d2 * g11 - d1 * g12) / det;
    return e1 * alpha + e2 * beta;
}

Vec3 RulerSum(const MeshDescriptor& mesh, int t, Vec3 MeshVertex::*ruler)
{
    Vec3 sum;
    for (int k = 0; k < 3; ++k)
        sum += mesh.vertices[mesh.indices[3 * t + k]].*ruler;
    return sum;
}
} // namespace

// The grid x ruler points where u grows in every triangle, and the y ruler where v grows on the
// body and the sac, whose shaders shape their scales and ridges by them. The y ruler turns around
// the x axis, so on a closed surface v must jump somewhere: the eyes keep one seam, on their inner
// side, and the horns' v is not held to the rule. Their shaders read neither grid nor rulers.
TEST(CreatureModel, RulersPointWhereTheGridGrows)
{
    const auto u = [](const MeshVertex& v) { return v.gridPoint.x; };
    const auto v = [](const MeshVertex& v) { return v.gridPoint.y; };
    for (int row = 0; row < kCreatureMeshCount; ++row) {
        const MeshDescriptor& mesh = g_creatureMeshes[row];
        const double vSpan = kRows[row].v1 - kRows[row].v0;
        int againstU = 0, againstV = 0, seam = 0;
        for (int t = 0; t < mesh.triangleCount; ++t) {
            if (GrowthAcross(mesh, t, u).Dot(RulerSum(mesh, t, &MeshVertex::gridX)) <= 0)
                ++againstU;
            if (GrowthAcross(mesh, t, v).Dot(RulerSum(mesh, t, &MeshVertex::gridY)) > 0)
                continue;
            Extent corners;
            for (int k = 0; k < 3; ++k)
                corners.Add(mesh.vertices[mesh.indices[3 * t + k]].gridPoint.y);
            ++(corners.high - corners.low > 0.5 * vSpan ? seam : againstV);
        }
        EXPECT_EQ(0, againstU) << "row " << row;
        if (row < 2) {
            EXPECT_EQ(0, againstV + seam) << "row " << row;
        } else if (row == 2) {
            EXPECT_EQ(0, againstV) << "eyes, away from their seam";
        }
    }
}
