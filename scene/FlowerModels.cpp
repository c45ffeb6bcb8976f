#include "scene/FlowerModels.h"

#include <cmath>

namespace {
constexpr int kStalkRings = 61;
constexpr int kStalkSides = 6;
constexpr double kRingStep = 0.016666666666666666;
// 60 and 18 degrees with pi taken as 3.1415926.
constexpr double kStalkTurn = 1.0471975333333332;
constexpr double kFruitStep = 0.31415926000000005;
constexpr int kFruitRings = 11;
constexpr int kFruitColumns = 21;

double StalkRadius(double t)
{
    return 0.5 * std::sin(10.0 * (1.0 - t)) * std::exp(20.0 * (t - 1.0)) + 0.6 / (20.0 * t + 1.0);
}

void Put(std::vector<float>& block, size_t vertex, int size, const double* values)
{
    for (int c = 0; c < size; ++c)
        block[vertex * size + c] = static_cast<float>(values[c]);
}
} // namespace

FlowerMesh MakeStalkMesh()
{
    std::vector<float> positions(kStalkVertices * 3), normals(kStalkVertices * 3), gridX(kStalkVertices * 3),
        gridY(kStalkVertices * 3), grid(kStalkVertices * 2);
    double previousRadius = 0.0;
    for (int i = 0; i < kStalkRings; ++i) {
        const double t = i * kRingStep;
        const double radius = StalkRadius(t);
        const double h = t >= 0.999 ? 0.999 : t;
        // Leans by t, not by the ring spacing: the normals follow the profile only a little.
        double a = 1.0, b = 0.0;
        if (i > 0) {
            const double inverse = 1.0 / std::sqrt(t * t + (previousRadius - radius) * (previousRadius - radius));
            a = t * inverse;
            b = (previousRadius - radius) * inverse;
        }
        double v = 0.0;
        for (int k = 0; k < kStalkSides; ++k) {
            const double phi = k * kStalkTurn;
            const double c = std::cos(phi), s = std::sin(phi);
            const size_t vertex = static_cast<size_t>(kStalkSides * i + k);
            const double position[3] = {1.0 - h, radius * c, -radius * s};
            const double normal[3] = {-b, a * c, -a * s};
            const double rulerX[3] = {-a, -b * c, b * s};
            const double rulerY[3] = {0.0, -s, -c};
            const double point[2] = {t, v};
            Put(positions, vertex, 3, position);
            Put(normals, vertex, 3, normal);
            Put(gridX, vertex, 3, rulerX);
            Put(gridY, vertex, 3, rulerY);
            Put(grid, vertex, 2, point);
            v += kRingStep;
        }
        previousRadius = radius;
    }
    FlowerMesh mesh;
    for (const std::vector<float>* block : {&positions, &normals, &gridX, &gridY, &grid})
        mesh.vertices.insert(mesh.vertices.end(), block->begin(), block->end());
    for (uint32_t m = 0; m + 1 < kStalkRings; ++m) {
        for (uint32_t k = 0; k < kStalkSides; ++k) {
            const uint32_t next = (k + 1) % kStalkSides;
            const uint32_t ring = kStalkSides * m, above = kStalkSides * (m + 1);
            mesh.indices.insert(mesh.indices.end(), {ring + k, ring + next, above + k});
            mesh.indices.insert(mesh.indices.end(), {ring + next, above + next, above + k});
        }
    }
    return mesh;
}

FlowerMesh MakeFruitMesh()
{
    std::vector<float> positions(kFruitVertices * 3), grid(kFruitVertices * 2);
    for (int i = 0; i < kFruitRings; ++i) {
        const double alpha = i * kFruitStep;
        for (int j = 0; j < kFruitColumns; ++j) {
            const double gamma = j * kFruitStep;
            const size_t vertex = static_cast<size_t>(kFruitColumns * i + j);
            const double position[3] = {1.0 - std::cos(alpha), std::sin(alpha) * std::cos(gamma),
                                        -std::sin(alpha) * std::sin(gamma)};
            const double point[2] = {alpha, gamma};
            Put(positions, vertex, 3, position);
            Put(grid, vertex, 2, point);
        }
    }
    FlowerMesh mesh;
    mesh.vertices = positions;
    mesh.vertices.insert(mesh.vertices.end(), grid.begin(), grid.end());
    const auto at = [](uint32_t row, uint32_t column) { return kFruitColumns * row + column; };
    for (uint32_t r = 0; r + 1 < kFruitRings; ++r) {
        for (uint32_t n = 0; n + 1 < kFruitColumns; ++n) {
            mesh.indices.insert(mesh.indices.end(), {at(r + 1, n + 1), at(r + 1, n), at(r, n)});
            mesh.indices.insert(mesh.indices.end(), {at(r, n + 1), at(r + 1, n + 1), at(r, n)});
        }
    }
    return mesh;
}
