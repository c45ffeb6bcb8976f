#include "Creature.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {
const double kPi = 3.141592653589793;

// The model is designed in the units the saver fits it to (x from 0.01 at the tail to 1.0 at the
// head) and then stored in its own larger units, the fit's inverse.
const double kModelMinX = -6.06873;
const double kModelMaxX = 5.77132;
const double kFit = 0.99 / (kModelMaxX - kModelMinX);

struct Box {
    Vec3 low, high;
};
struct Range {
    double low, high;
};

// Where each mesh must end up once fitted, and the span of its grid points.
struct MeshTarget {
    Box box;
    Range u, v;
};
const MeshTarget kTargets[] = {
    {{{0.01, -1.287 * kFit, -0.063}, {1.0, 1.287 * kFit, 0.092}}, {0, 14.27}, {-4, 8}},
    {{{0.349, -0.107, -1.981 * kFit}, {0.749, 0.107, -0.063}}, {0, 9.56}, {1.35, 6.65}},
    {{{0.890, -0.069, 0.011}, {0.933, 0.069, 0.054}}, {0, 0.66}, {-3.73, -0.27}},
    {{{0.864, -0.105, 0.069}, {0.882, 0.102, 1.602 * kFit}}, {0, 0.20}, {-2.87, -1.17}},
};

const Vec3 kXAxis(1, 0, 0);

// A surface point with its outward normal and grid point, before frames are attached.
ModelVertex Point(const Vec3& position, const Vec3& normal, double u, double v)
{
    ModelVertex vertex;
    vertex.position = position;
    vertex.normal = normal;
    vertex.normal.Normalize();
    vertex.grid = Vec2(u, v);
    return vertex;
}

// The normal of a parametric surface from central differences.
Vec3 SurfaceNormal(const std::function<Vec3(double, double)>& surface, double a, double b, double da, double db)
{
    const Vec3 alongA = surface(a + da, b) - surface(a - da, b);
    const Vec3 alongB = surface(a, b + db) - surface(a, b - db);
    Vec3 n = alongA.Cross(alongB);
    n.Normalize();
    return n;
}

void AddTriangle(ModelMesh& mesh, int a, int b, int c)
{
    mesh.indices.push_back(a);
    mesh.indices.push_back(b);
    mesh.indices.push_back(c);
}

// Joins two rings of vertices, ordered by angle, with a + b triangles (closed) or a + b - 2 (open).
void Zip(ModelMesh& mesh, const std::vector<int>& ringA, const std::vector<double>& angleA,
         const std::vector<int>& ringB, const std::vector<double>& angleB, bool closed)
{
    const size_t a = ringA.size(), b = ringB.size();
    const size_t endA = closed ? a : a - 1, endB = closed ? b : b - 1;
    auto next = [](const std::vector<double>& angles, size_t i) {
        return i + 1 < angles.size() ? angles[i + 1] : angles[0] + 2 * kPi;
    };
    size_t p = 0, q = 0;
    while (p < endA || q < endB) {
        if (q == endB || (p < endA && next(angleA, p) < next(angleB, q))) {
            AddTriangle(mesh, ringA[p], ringA[(p + 1) % a], ringB[q % b]);
            ++p;
        } else {
            AddTriangle(mesh, ringA[p % a], ringB[(q + 1) % b], ringB[q]);
            ++q;
        }
    }
}

// Smooth interpolation through control values (Catmull-Rom with uneven spacing).
double Spline(const std::vector<std::pair<double, double>>& knots, double t)
{
    size_t i = 0;
    while (i + 2 < knots.size() && t > knots[i + 1].first)
        ++i;
    auto slope = [&](size_t k) {
        const size_t lo = k == 0 ? 0 : k - 1, hi = k + 1 < knots.size() ? k + 1 : k;
        return (knots[hi].second - knots[lo].second) / (knots[hi].first - knots[lo].first);
    };
    const double t0 = knots[i].first, t1 = knots[i + 1].first, h = t1 - t0;
    const double s = (t - t0) / h;
    const double s2 = s * s, s3 = s2 * s;
    return (2 * s3 - 3 * s2 + 1) * knots[i].second + (s3 - 2 * s2 + s) * h * slope(i) +
           (-2 * s3 + 3 * s2) * knots[i + 1].second + (s3 - s2) * h * slope(i + 1);
}

// ---- Body: a tube of 35 rings of 19 columns (the seam at the belly doubled for the grid), with
// 30 five-sided spines along the back.
const int kBodyRings = 35;
const int kBodyColumns = 19;
const int kSpines = 30;

struct BodyProfile {
    std::vector<std::pair<double, double>> halfWidth, halfHeight, centreZ;
    BodyProfile()
    {
        halfWidth = {{0, 0.0015}, {0.1, 0.011}, {0.25, 0.032}, {0.4, 0.075}, {0.55, 0.1076}, {0.7, 0.096},
                     {0.8, 0.052}, {0.85, 0.045}, {0.9, 0.054}, {0.96, 0.034}, {1, 0.002}};
        // The belly is flat at its lowest from 0.34 to 0.76, where the sac hangs from it.
        halfHeight = {{0, 0.0015}, {0.1, 0.010}, {0.25, 0.030}, {0.34, 0.061}, {0.4, 0.063}, {0.55, 0.063},
                      {0.7, 0.063}, {0.76, 0.062}, {0.8, 0.050}, {0.85, 0.044}, {0.9, 0.046}, {0.96, 0.028},
                      {1, 0.002}};
        centreZ = {{0, 0.004}, {0.25, 0.0}, {0.55, 0.0}, {0.76, 0.0}, {0.8, 0.006}, {0.87, 0.03}, {0.92, 0.03},
                   {1, 0.02}};
    }
    // t from 0 (tail) to 1 (snout); phi the angle around the body, 0 pointing to +y.
    Vec3 At(double t, double phi) const
    {
        const double c = std::cos(phi), s = std::sin(phi);
        // Rounder on the back, flatter under the belly, where the sac hangs.
        const double lower = s < 0 ? SmoothStep(0.3, 0.5, t) * SmoothStep(0.8, 0.7, t) : 0;
        const double exponent = 2.0 / (2.4 + 2.6 * lower);
        const double y = Spline(halfWidth, t) * (c < 0 ? -1 : 1) * std::pow(std::fabs(c), exponent);
        const double z = Spline(centreZ, t) + Spline(halfHeight, t) * (s < 0 ? -1 : 1) * std::pow(std::fabs(s), exponent);
        return Vec3(0.01 + 0.99 * t, y, z);
    }
    static double SmoothStep(double e0, double e1, double x)
    {
        double k = (x - e0) / (e1 - e0);
        k = k < 0 ? 0 : (k > 1 ? 1 : k);
        return k * k * (3 - 2 * k);
    }
};

ModelMesh MakeBody()
{
    ModelMesh mesh{"Body", {}, {}};
    const BodyProfile profile;
    auto surface = [&](double t, double phi) { return profile.At(t, phi); };
    for (int k = 0; k < kBodyRings; ++k) {
        const double t = static_cast<double>(k) / (kBodyRings - 1);
        for (int j = 0; j < kBodyColumns; ++j) {
            // From the belly seam, around over the back and down to the seam again.
            const double phi = 1.5 * kPi - 2 * kPi * j / (kBodyColumns - 1);
            const double dt = k == 0 || k == kBodyRings - 1 ? 0.0 : 1e-4;
            Vec3 normal = dt > 0 ? SurfaceNormal(surface, t, phi, dt, 1e-4)
                                 : SurfaceNormal(surface, k == 0 ? 1e-4 : 1 - 1e-4, phi, 1e-4, 1e-4);
            // Orient outwards: away from the centre line.
            const Vec3 p = profile.At(t, phi);
            if (normal.Dot(Vec3(0, p.y, p.z - Spline(profile.centreZ, t))) < 0)
                normal = normal * -1;
            mesh.vertices.push_back(Point(p, normal, t, static_cast<double>(j) / (kBodyColumns - 1)));
        }
    }
    for (int k = 0; k + 1 < kBodyRings; ++k)
        for (int j = 0; j + 1 < kBodyColumns; ++j) {
            const int a = k * kBodyColumns + j, b = a + 1, c = a + kBodyColumns + 1, d = a + kBodyColumns;
            AddTriangle(mesh, a, b, c);
            AddTriangle(mesh, a, c, d);
        }
    // The tube's grid continued onto the spines from their positions: u along x, v around the
    // centre line as the columns run, so that the rulers point where the grid grows there too.
    auto bodyGrid = [&](const Vec3& p) {
        const double t = (p.x - 0.01) / 0.99;
        double phi = std::atan2(p.z - Spline(profile.centreZ, t), p.y);
        if (phi <= -0.5 * kPi)
            phi += 2 * kPi;
        return Vec2(t, (1.5 * kPi - phi) / (2 * kPi));
    };
    // Spines: five-sided cones leaning back, tallest over the shoulders of the belly.
    const Vec3 axis = [] { Vec3 a(-0.45, 0, 1); a.Normalize(); return a; }();
    Vec3 across = Vec3(0, 1, 0).Cross(axis);
    across.Normalize();
    for (int i = 0; i < kSpines; ++i) {
        const double t = 0.12 + (0.80 - 0.12) * i / (kSpines - 1);
        const double height = Spline(profile.halfHeight, t);
        const double top = Spline(profile.centreZ, t) + height;
        const double radius = 0.30 * height, length = 0.52 * height;
        const Vec3 base(0.01 + 0.99 * t, 0, top - 0.3 * radius);
        const int first = static_cast<int>(mesh.vertices.size());
        for (int k = 0; k < 5; ++k) {
            const double angle = 2 * kPi * (k + 0.25) / 5;
            const Vec3 radial = across * std::cos(angle) + Vec3(0, 1, 0) * std::sin(angle);
            const Vec3 normal = radial * length + axis * radius;
            const Vec3 p = base + radial * radius;
            const Vec2 grid = bodyGrid(p);
            mesh.vertices.push_back(Point(p, normal, grid.x, grid.y));
        }
        const Vec3 tip = base + axis * length;
        const Vec2 tipGrid = bodyGrid(tip);
        mesh.vertices.push_back(Point(tip, axis, tipGrid.x, tipGrid.y));
        for (int k = 0; k < 5; ++k)
            AddTriangle(mesh, first + k, first + (k + 1) % 5, first + 5);
    }
    return mesh;
}

// ---- Wrinkles: a sac hanging under the middle of the body, 29 slices across it of 4 or 5 points.
ModelMesh MakeWrinkles()
{
    ModelMesh mesh{"Wrinkles", {}, {}};
    const int slices = 29;
    const double rimAngle = 0.714; // where the sac meets the flat of the belly
    auto size = [](double s) { return 0.06 + 0.94 * std::pow(std::sin(kPi * s), 0.7); };
    auto centreZ = [&](double s) { return -0.063 - 0.062 * size(s) * std::sin(rimAngle); };
    auto surface = [&](double s, double w) {
        const double psi = rimAngle - w * (kPi + 2 * rimAngle);
        return Vec3(0.349 + 0.4 * s, 0.107 * size(s) * std::cos(psi), centreZ(s) + 0.062 * size(s) * std::sin(psi));
    };
    std::vector<std::vector<int>> rings;
    std::vector<std::vector<double>> positions;
    for (int i = 0; i < slices; ++i) {
        // Five points on the end slices and on the fifteen middle ones, four elsewhere.
        const int count = i == 0 || i == slices - 1 || std::abs(i - 14) <= 7 ? 5 : 4;
        const double s = static_cast<double>(i) / (slices - 1);
        rings.emplace_back();
        positions.emplace_back();
        for (int k = 0; k < count; ++k) {
            const double w = static_cast<double>(k) / (count - 1);
            const double ds = i == 0 ? 1e-4 : (i == slices - 1 ? -1e-4 : 0);
            Vec3 normal = SurfaceNormal(surface, s + ds, w, 1e-4, 1e-4);
            const Vec3 p = surface(s, w);
            if (normal.Dot(Vec3(0, p.y, p.z - centreZ(s))) < 0)
                normal = normal * -1;
            rings.back().push_back(static_cast<int>(mesh.vertices.size()));
            positions.back().push_back(w);
            mesh.vertices.push_back(Point(p, normal, s, w));
        }
    }
    for (int i = 0; i + 1 < slices; ++i)
        Zip(mesh, rings[i], positions[i], rings[i + 1], positions[i + 1], false);
    return mesh;
}

// ---- Eyes: two spheres of 9 rings of 10 around their sideways-looking poles.
ModelMesh MakeEyes()
{
    ModelMesh mesh{"Eyes", {}, {}};
    for (int side : {1, -1}) {
        const Vec3 centre(0.9115, 0.0475 * side, 0.0325);
        const double radius = 0.0215;
        const Vec3 pole(0, side, 0);
        const Vec3 e1(1, 0, 0), e2 = pole.Cross(e1);
        auto add = [&](const Vec3& direction) {
            // Around the body's axis, the seam on the hidden inner side.
            const double around = -std::atan2(direction.z * side, direction.y * side);
            mesh.vertices.push_back(Point(centre + direction * radius, direction, direction.x, around));
            return static_cast<int>(mesh.vertices.size()) - 1;
        };
        const int rings = 9, around = 10;
        const int top = add(pole);
        std::vector<std::vector<int>> ring(rings);
        std::vector<double> angles;
        // Half a step off, so that no vertex looks straight along the body's axis.
        for (int j = 0; j < around; ++j)
            angles.push_back(2 * kPi * (j + 0.5) / around);
        for (int k = 0; k < rings; ++k) {
            const double theta = kPi * (k + 1) / (rings + 1);
            for (int j = 0; j < around; ++j)
                ring[k].push_back(add(pole * std::cos(theta) +
                                      (e1 * std::cos(angles[j]) + e2 * std::sin(angles[j])) * std::sin(theta)));
        }
        const int bottom = add(pole * -1);
        for (int j = 0; j < around; ++j) {
            AddTriangle(mesh, top, ring[0][j], ring[0][(j + 1) % around]);
            AddTriangle(mesh, bottom, ring[rings - 1][(j + 1) % around], ring[rings - 1][j]);
        }
        for (int k = 0; k + 1 < rings; ++k)
            Zip(mesh, ring[k], angles, ring[k + 1], angles, true);
    }
    return mesh;
}

// ---- Horns: two closed, curved, tapering tubes; rings thin out towards the tip.
ModelMesh MakeHorns()
{
    ModelMesh mesh{"Horns", {}, {}};
    const int counts[] = {16, 16, 15, 14, 13, 12, 12, 11, 10, 9, 8, 6};
    const int rings = 12;
    for (int side : {1, -1}) {
        auto centre = [&](double tau) {
            return Vec3(0.873 - 0.004 * tau * tau, (0.036 + 0.066 * tau) * side, 0.078 + 0.052 * tau * tau);
        };
        auto radius = [](double tau) { return 0.0085 * std::pow(1 - tau, 0.9) + 0.0006; };
        auto tangent = [&](double tau) {
            Vec3 t = centre(tau + 1e-4) - centre(tau - 1e-4);
            t.Normalize();
            return t;
        };
        auto frame = [&](double tau, Vec3& e1, Vec3& e2) {
            const Vec3 t = tangent(tau);
            e1 = kXAxis - t * kXAxis.Dot(t);
            e1.Normalize();
            e2 = t.Cross(e1);
        };
        const double end = 0.94;
        const Vec3 basePole = centre(0) - tangent(0) * radius(0) * 0.6;
        const int base = static_cast<int>(mesh.vertices.size());
        mesh.vertices.push_back(Point(basePole, tangent(0) * -1, basePole.x, 0.5));
        std::vector<std::vector<int>> ring(rings);
        std::vector<std::vector<double>> angles(rings);
        for (int k = 0; k < rings; ++k) {
            const double tau = end * k / (rings - 1);
            Vec3 e1, e2;
            frame(tau, e1, e2);
            const double slope = (radius(tau + 1e-4) - radius(tau - 1e-4)) / (centre(tau + 1e-4) - centre(tau - 1e-4)).Length();
            for (int j = 0; j < counts[k]; ++j) {
                const double alpha = 2 * kPi * (j + 0.5) / counts[k];
                const Vec3 radial = e1 * std::cos(alpha) + e2 * std::sin(alpha);
                angles[k].push_back(alpha);
                ring[k].push_back(static_cast<int>(mesh.vertices.size()));
                const Vec3 p = centre(tau) + radial * radius(tau);
                // u grows with x, as the x ruler does; v goes round the horn.
                mesh.vertices.push_back(Point(p, radial - tangent(tau) * slope, p.x, alpha / (2 * kPi)));
            }
        }
        const int tip = static_cast<int>(mesh.vertices.size());
        const Vec3 tipPole = centre(end) + tangent(end) * radius(end) * 1.5;
        mesh.vertices.push_back(Point(tipPole, tangent(end), tipPole.x, 0.5));
        for (int j = 0; j < counts[0]; ++j)
            AddTriangle(mesh, base, ring[0][(j + 1) % counts[0]], ring[0][j]);
        for (int j = 0; j < counts[rings - 1]; ++j)
            AddTriangle(mesh, tip, ring[rings - 1][j], ring[rings - 1][(j + 1) % counts[rings - 1]]);
        for (int k = 0; k + 1 < rings; ++k)
            Zip(mesh, ring[k], angles[k], ring[k + 1], angles[k + 1], true);
    }
    return mesh;
}

// Moves a mesh onto its exact box and grid spans (each axis scaled on its own, normals following),
// attaches the frames, makes every triangle counter-clockwise seen from outside, and stores it
// in the model's own units.
void Finish(ModelMesh& mesh, const MeshTarget& target)
{
    Vec3 low = mesh.vertices[0].position, high = low;
    Vec2 gridLow = mesh.vertices[0].grid, gridHigh = gridLow;
    for (const ModelVertex& v : mesh.vertices) {
        low = Vec3(std::fmin(low.x, v.position.x), std::fmin(low.y, v.position.y), std::fmin(low.z, v.position.z));
        high = Vec3(std::fmax(high.x, v.position.x), std::fmax(high.y, v.position.y), std::fmax(high.z, v.position.z));
        gridLow = Vec2(std::fmin(gridLow.x, v.grid.x), std::fmin(gridLow.y, v.grid.y));
        gridHigh = Vec2(std::fmax(gridHigh.x, v.grid.x), std::fmax(gridHigh.y, v.grid.y));
    }
    const Vec3 scale((target.box.high.x - target.box.low.x) / (high.x - low.x),
                     (target.box.high.y - target.box.low.y) / (high.y - low.y),
                     (target.box.high.z - target.box.low.z) / (high.z - low.z));
    for (ModelVertex& v : mesh.vertices) {
        const Vec3 fitted(target.box.low.x + (v.position.x - low.x) * scale.x,
                          target.box.low.y + (v.position.y - low.y) * scale.y,
                          target.box.low.z + (v.position.z - low.z) * scale.z);
        v.position = Vec3((fitted.x - 0.01) / kFit + kModelMinX, fitted.y / kFit, fitted.z / kFit);
        v.normal = Vec3(v.normal.x / scale.x, v.normal.y / scale.y, v.normal.z / scale.z);
        v.normal.Normalize();
        v.gridY = v.normal.Cross(kXAxis);
        if (v.gridY.Length() < 1e-3) {
            std::fprintf(stderr, "resgen: %s has a normal along the body axis\n", mesh.name);
            std::exit(1);
        }
        v.gridY.Normalize();
        v.gridX = v.gridY.Cross(v.normal);
        v.grid = Vec2(target.u.low + (v.grid.x - gridLow.x) * (target.u.high - target.u.low) / (gridHigh.x - gridLow.x),
                      target.v.low + (v.grid.y - gridLow.y) * (target.v.high - target.v.low) / (gridHigh.y - gridLow.y));
    }
    for (size_t i = 0; i < mesh.indices.size(); i += 3) {
        const Vec3& a = mesh.vertices[mesh.indices[i]].position;
        const Vec3& b = mesh.vertices[mesh.indices[i + 1]].position;
        const Vec3& c = mesh.vertices[mesh.indices[i + 2]].position;
        const Vec3 outward = mesh.vertices[mesh.indices[i]].normal + mesh.vertices[mesh.indices[i + 1]].normal +
                             mesh.vertices[mesh.indices[i + 2]].normal;
        if ((b - a).Cross(c - a).Dot(outward) < 0)
            std::swap(mesh.indices[i + 1], mesh.indices[i + 2]);
    }
}
} // namespace

std::vector<ModelMesh> MakeCreature()
{
    std::vector<ModelMesh> meshes = {MakeBody(), MakeWrinkles(), MakeEyes(), MakeHorns()};
    for (size_t i = 0; i < meshes.size(); ++i)
        Finish(meshes[i], kTargets[i]);
    return meshes;
}

void WriteCreatureSource(const std::string& path, const std::vector<ModelMesh>& meshes)
{
    FILE* out = std::fopen(path.c_str(), "w");
    if (!out) {
        std::fprintf(stderr, "resgen: cannot write %s\n", path.c_str());
        std::exit(1);
    }
    std::fprintf(out, "// The creature's model, written by tools/resgen from tools/resgen/Creature.cpp; do not edit.\n"
                      "// Per mesh: a block of 32-bit integers (vertex count, triangle count, then three vertex\n"
                      "// indices per triangle) and the vertex records: position, grid point, normal, grid x\n"
                      "// ruler, grid y ruler.\n");
    for (const ModelMesh& mesh : meshes) {
        std::fprintf(out, "\nstatic const int32_t k%sMesh[] = {\n    %zu, %zu,", mesh.name, mesh.vertices.size(),
                     mesh.indices.size() / 3);
        for (size_t i = 0; i < mesh.indices.size(); ++i)
            std::fprintf(out, "%s%d,", i % 12 == 0 ? "\n    " : " ", mesh.indices[i]);
        std::fprintf(out, "\n};\n\nstatic MeshVertex g_%sVertices[] = {\n", mesh.name);
        for (const ModelVertex& v : mesh.vertices) {
            std::fprintf(out,
                         "    MeshVertex(%.9g, %.9g, %.9g, %.9g, %.9g, %.9g, %.9g, %.9g, %.9g, %.9g, %.9g, %.9g, "
                         "%.9g, %.9g),\n",
                         v.position.x, v.position.y, v.position.z, v.grid.x, v.grid.y, v.normal.x, v.normal.y,
                         v.normal.z, v.gridX.x, v.gridX.y, v.gridX.z, v.gridY.x, v.gridY.y, v.gridY.z);
        }
        std::fprintf(out, "};\n");
    }
    std::fclose(out);
}
