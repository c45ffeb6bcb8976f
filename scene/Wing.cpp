#include "scene/Wing.h"

#include "gfx/DrawingState.h"
#include "gfx/BitmapTexture.h"
#include "gfx/GenericArraysOff.h"
#include "gfx/OpenGL.h"
#include "gfx/RandomUnit.h"

#include <cmath>

namespace {
constexpr double kPi = 3.1415926;
constexpr int kProfilePoints = 7;
constexpr int kArcs = 5;
constexpr int kArcPointsMost = 12;
constexpr double kEmissionGap = 120.0;
constexpr double kSparkHalfSize = 0.02;
constexpr int kTextureSize = 32;
const Vec3 SparkGravity(0.0, -1e-7, 0.0);
const Vec3 SparkColour(1.5, 0.3, 0.0);

// The leaf outline shared by every wing: (distance along the span, offset along the hinge axis).
struct ProfilePair {
    double u, w;
};
ProfilePair g_upperEdge[kProfilePoints];
ProfilePair g_lowerEdge[kProfilePoints];
bool g_profileBuilt = false;

void BuildProfile()
{
    for (int m = 0; m < kProfilePoints; ++m) {
        g_upperEdge[m] = {0.3 * std::sin(m * 0.2617993833333333), 0.03 * std::sin(m * 0.5235987666666666)};
        g_lowerEdge[m] = {g_upperEdge[m].u, -g_upperEdge[m].w};
    }
    g_profileBuilt = true;
}

double FlapAngle(int32_t clock)
{
    return 0.7 * std::cos(0.9 * static_cast<double>(clock));
}

} // namespace

WingSparks::WingSparks()
{
    // A soft round spot: the grid runs from -1 to 0.9375, so its peak sits at (16, 16).
    float pixels[kTextureSize * kTextureSize];
    for (int i = 0; i < kTextureSize; ++i) {
        for (int j = 0; j < kTextureSize; ++j) {
            const double x = i * 0.0625 - 1.0;
            const double y = j * 0.0625 - 1.0;
            const double rho = std::sqrt(x * x + y * y);
            const double value = rho >= 1.0 ? 0.0 : std::pow(rho + 1.0, -2.0) - 0.25;
            pixels[i * kTextureSize + j] = static_cast<float>(value);
        }
    }
    UploadAlphaTexture(kTextureSize, pixels, texture);
    // Room for the sparks a wing keeps alive at a steady frame rate, so births rarely allocate.
    particles.reserve(64);
    quads.Reserve(64);
}

WingSparks::~WingSparks()
{
    particles.clear();
    particles.shrink_to_fit();
}

void WingSparks::Emit(const Vec3& birthPoint)
{
    if (time - lastEmission < kEmissionGap)
        return;
    // Not `time`: after a long frame the emitter catches up one spark per frame.
    lastEmission = lastEmission + kEmissionGap;
    Spark spark;
    const double vx = RandomUnit();
    spark.velocity.x = (0.5 - vx) * 0.0015;
    const double vy = RandomUnit();
    spark.velocity.y = (0.5 - vy) * 0.0015;
    const double vz = RandomUnit();
    spark.velocity.z = (0.5 - vz) * 0.0015;
    const double brightness = RandomUnit();
    spark.brightness = brightness * 0.7 + 0.3;
    const double twinkle = RandomUnit();
    spark.twinkleRate = twinkle * 0.02 + 0.01;
    spark.position = birthPoint;
    particles.push_back(spark);
}

void WingSparks::Draw()
{
    SetSwitch(GL_BLEND, true);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDepthMask(GL_FALSE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    // The colour stays the current one; the alpha comes from the texture.
    SetTextureEnvironment(GL_REPLACE);
    quads.Clear();
    Vec3 colour;
    size_t kept = 0;
    for (size_t i = 0; i < particles.size(); ++i) {
        Spark& spark = particles[i];
        if (spark.brightness < 0.01)
            continue;
        spark.velocity += (SparkGravity - spark.velocity * 0.001) * step;
        spark.position += spark.velocity * step;
        spark.brightness = spark.brightness * 0.992;
        const double k = (std::sin(spark.twinkleRate * time) * 0.15 + 0.85) * spark.brightness;
        colour = SparkColour * k;
        const Vec3& p = spark.position;
        quads.Add(p.x, p.y, p.z, kSparkHalfSize, colour.x, colour.y, colour.z);
        if (kept != i)
            particles[kept] = spark;
        ++kept;
    }
    particles.resize(kept);
    quads.Draw();
    // The current colour stays the last spark's.
    if (quads.Count() > 0)
        glColor3d(colour.x, colour.y, colour.z);
    glDisable(GL_TEXTURE_2D);
    glDepthMask(GL_TRUE);
    SetSwitch(GL_BLEND, false);
}

Wing::Wing()
{
    if (!g_profileBuilt)
        BuildProfile();
}

void Wing::SetFrame(const Vec3& root_, const Vec3& hingeAxis_, const Vec3& restAxis_)
{
    root = root_;
    hingeAxis = hingeAxis_;
    restAxis = restAxis_;
    swingAxis = hingeAxis.Cross(restAxis);
}

void Wing::Advance(int32_t dt)
{
    const double r = RandomUnit();
    // The integer part of the draw: 1 only for a draw of exactly 1.0. The clocks wrap around as
    // 32-bit counters do after about 24 days of wing time.
    const uint32_t s = static_cast<uint32_t>(dt) + static_cast<uint32_t>(r);
    previousClock = clock;
    clock = static_cast<int32_t>(static_cast<uint32_t>(clock) + s);
    sparks.step = static_cast<double>(static_cast<int32_t>(s));
    sparks.time += sparks.step;
}

Vec3 Wing::SpanAt(double angle) const
{
    return restAxis * std::cos(angle) + swingAxis * std::sin(angle);
}

Vec3 Wing::PointAt(const Vec3& span, double u, double w) const
{
    return root + span * u + hingeAxis * w;
}

void Wing::Draw()
{
    const double a = FlapAngle(previousClock);
    const double b = FlapAngle(clock);
    const double hi = a > b ? a : b;
    double lo = a > b ? b : a;
    if (hi - lo < 0.001)
        lo = hi - 0.001;
    const Vec3 high = SpanAt(hi);
    const Vec3 low = SpanAt(lo);

    SetSwitch(GL_CULL_FACE, false);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    SetSwitch(GL_BLEND, true);
    // The wider the sweep, the fainter the blur.
    glColor4d(1.1, 0.9, 0.7, 1.2 / (hi + 2.0 - lo));

    // The arcs and both membranes go to OpenGL from one block of client memory, strip by strip.
    double vertices[(kArcs * kArcPointsMost + 4 * kProfilePoints) * 3];
    int count = 0;
    const auto add = [&vertices, &count](const Vec3& p) {
        vertices[3 * count] = p.x;
        vertices[3 * count + 1] = p.y;
        vertices[3 * count + 2] = p.z;
        ++count;
    };
    GLint arcFirst[kArcs];
    GLsizei arcCount[kArcs];
    for (int arc = 0; arc < kArcs; ++arc) {
        const double alpha = kPi * RandomUnit();
        const double u = 0.3 * std::sin(alpha);
        const double w = 0.03 * std::sin(2.0 * alpha);
        arcFirst[arc] = count;
        // Eleven points: ten steps of 0.1 add up to just under 1.
        for (double s = 0.0; s < 1.0 && count - arcFirst[arc] < kArcPointsMost; s += 0.1) {
            Vec3 e = high * s + low * (1.0 - s);
            e.Normalize();
            add(PointAt(e, u, w));
        }
        arcCount[arc] = count - arcFirst[arc];
    }
    const int highFirst = count;
    for (int m = 0; m < kProfilePoints; ++m) {
        add(PointAt(high, g_lowerEdge[m].u, g_lowerEdge[m].w));
        add(PointAt(high, g_upperEdge[m].u, g_upperEdge[m].w));
    }
    const int lowFirst = count;
    for (int m = 0; m < kProfilePoints; ++m) {
        add(PointAt(low, g_upperEdge[m].u, g_upperEdge[m].w));
        add(PointAt(low, g_lowerEdge[m].u, g_lowerEdge[m].w));
    }
    {
        const GenericArraysOff genericArraysOff;
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_DOUBLE, 0, vertices);
        glMultiDrawArrays(GL_LINE_STRIP, arcFirst, arcCount, kArcs);
        glDrawArrays(GL_QUAD_STRIP, highFirst, 2 * kProfilePoints);
        glDrawArrays(GL_QUAD_STRIP, lowFirst, 2 * kProfilePoints);
        glDisableClientState(GL_VERTEX_ARRAY);
    }

    SetSwitch(GL_BLEND, false);
    SetSwitch(GL_CULL_FACE, true);

    const double r = RandomUnit();
    sparks.Emit(root + (restAxis * 0.3) * (1.0 - 2.0 * r));
    sparks.Draw();
}
