#include "scene/Ribbon.h"

#include <cmath>

namespace {
// A node's own up axis keeps this weight in Relax; the one before it gives (1 - 0.8), computed in
// double as the flight was tuned with it (0.19999999999999996).
constexpr double kOwnUpWeight = 0.8;

int NodeFor(double x)
{
    return static_cast<int>(std::floor((1.0 - x) * 20.0));
}
} // namespace

Ribbon::Ribbon() : matrixes_(), vertexes_()
{
    Straighten(Vec3(1.0, 0.0, 0.0), Vec3(0.0, 0.0, 1.0), Vec3(1.0, 0.0, 0.0));
}

void Ribbon::Straighten(const Vec3& head, const Vec3& up, const Vec3& direction)
{
    const Vec3 back = direction * -kNodeSpacing;
    const Vec3 side = up.Cross(direction);
    for (int k = 0; k < NumberOfNodes; ++k) {
        nodes[k].position = head + back * static_cast<double>(k);
        nodes[k].direction = direction;
        nodes[k].side = side;
        nodes[k].up = up;
    }
}

void Ribbon::Relax()
{
    for (int k = 1; k < NumberOfNodes; ++k) {
        const Vec3& ahead = nodes[k - 1].position;
        const double length = (ahead - nodes[k].position).Length();
        if (length == 0.0) {
            nodes[k].position = ahead - Vec3(kNodeSpacing, 0.0, 0.0);
        } else {
            const double t = kNodeSpacing / length;
            nodes[k].position = nodes[k].position * t + ahead * (1.0 - t);
        }
    }

    RibbonNode& head = nodes[0];
    head.direction = head.position - nodes[1].position;
    head.direction.Normalize();
    head.side = head.up.Cross(head.direction);
    head.side.Normalize();
    head.up = head.direction.Cross(head.side);
    head.up.Normalize();
    for (int k = 1; k < NumberOfNodes; ++k) {
        RibbonNode& node = nodes[k];
        if (k < NumberOfNodes - 1) {
            node.direction = node.position - nodes[k + 1].position;
            node.direction.Normalize();
        } else {
            node.direction = nodes[k - 1].direction;
        }
        node.up = nodes[k - 1].up * (1.0 - kOwnUpWeight) + node.up * kOwnUpWeight;
        node.side = node.up.Cross(node.direction);
        node.side.Normalize();
        node.up = node.direction.Cross(node.side);
        node.up.Normalize();
    }
}

void Ribbon::SetHead(const Vec3& position, const Vec3& up)
{
    nodes[0].position = position;
    nodes[0].up = up;
    Relax();
}

Vec3 Ribbon::TransformVertex(const Vec3& point, double x) const
{
    const RibbonNode& node = nodes[NodeFor(x)];
    const double behind = std::fmod(1.0 - x, kNodeSpacing);
    return node.position - node.direction * behind + node.side * point.y + node.up * point.z;
}

Vec3 Ribbon::TransformDirection(const Vec3& v, double x) const
{
    const RibbonNode& node = nodes[NodeFor(x)];
    return node.direction * v.x + node.side * v.y + node.up * v.z;
}

const float* Ribbon::FillMatrixes()
{
    for (int k = 0; k < NumberOfNodes; ++k) {
        float* m = matrixes_ + 9 * k;
        const Vec3* columns[3] = {&nodes[k].direction, &nodes[k].side, &nodes[k].up};
        for (int c = 0; c < 3; ++c) {
            m[3 * c + 0] = static_cast<float>(columns[c]->x);
            m[3 * c + 1] = static_cast<float>(columns[c]->y);
            m[3 * c + 2] = static_cast<float>(columns[c]->z);
        }
    }
    return matrixes_;
}

const float* Ribbon::FillVertexes()
{
    for (int k = 0; k < NumberOfNodes; ++k) {
        vertexes_[3 * k + 0] = static_cast<float>(nodes[k].position.x);
        vertexes_[3 * k + 1] = static_cast<float>(nodes[k].position.y);
        vertexes_[3 * k + 2] = static_cast<float>(nodes[k].position.z);
    }
    return vertexes_;
}
