#pragma once
// The ribbon: a flexible strip of 20 nodes spaced 0.05 apart, each a point with its own
// orthonormal frame, along which a straight model is bent. A model laid out with x in (0, 1] is
// carried so that x = 1 sits at node 0 (the head) and smaller x lies further back along the strip.
// The creature's body rides on one ribbon; each flower stalk has its own.
//
// The ribbon vertex shaders declare the same count and spacing; the three must agree.
// Render thread only.

#include "gfx/Vec3.h"

struct RibbonNode {
    Vec3 position;
    Vec3 direction; // unit, from the next node (tail side) towards this one; local x
    Vec3 side;      // unit, across the strip; local y
    Vec3 up;        // unit, normal to the strip; local z
};

class Ribbon {
public:
    static constexpr int NumberOfNodes = 20;
    static constexpr double kNodeSpacing = 0.05;

    // Straight along +x from the head at (1, 0, 0): node k at (1 - 0.05 k, 0, 0), every frame the
    // identity.
    Ribbon();

    int NodeCount() const { return NumberOfNodes; }

    // Lays the strip straight backwards from `head` against `direction`, every node with the
    // frame (direction, up x direction, up). Nothing is normalised: pass a unit direction and a
    // unit up axis perpendicular to it.
    void Straighten(const Vec3& head, const Vec3& up, const Vec3& direction);
    // The follow step: nodes 1 to 19 pulled to 0.05 behind their predecessor, then every frame
    // rebuilt, node 0's up axis taken as a hint and each later up axis keeping 0.8 of its own.
    void Relax();
    // Node 0 to `position` with `up` as its up hint, then Relax.
    void SetHead(const Vec3& position, const Vec3& up);

    // A model point (its y and z; `x` chooses the node and the distance behind it) in the scene.
    // `x` must lie in (0, 1].
    Vec3 TransformVertex(const Vec3& point, double x) const;
    // A model direction in the scene: the rotation of the node that `x` chooses.
    Vec3 TransformDirection(const Vec3& v, double x) const;

    // The 20 frames as column-major 3x3 float matrices (direction, side, up), for the shaders'
    // uRibbonMatrixes. The buffer lives as long as the ribbon.
    const float* FillMatrixes();
    // The 20 positions as float triples, for uRibbonVertexes.
    const float* FillVertexes();

    // Index 0 is the head. Owners read and write the nodes directly.
    RibbonNode nodes[NumberOfNodes];

private:
    float matrixes_[NumberOfNodes * 9];
    float vertexes_[NumberOfNodes * 3];
};
