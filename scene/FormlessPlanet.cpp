#include "scene/FormlessPlanet.h"

#include "base/RunLog.h"
#include "gfx/BitmapTexture.h"
#include "gfx/DrawingState.h"
#include "gfx/FixedCamera.h"
#include "gfx/OpenGL.h"
#include "gfx/RandomUnit.h"
#include "gfx/ViewportCopy.h"
#include "gfx/Vec2.h"

#include <algorithm>
#include <cmath>

const Vec3 PlanetCentre(0.2, 3.0, -20.0);

namespace {
constexpr int kPlanetBitmap = 130;
constexpr int kDiscSize = 128;
constexpr int kGlowSize = 64;
// The decimal values the glow has always used, not the exact pi and 2 pi.
constexpr double kPi = 3.1415926;
constexpr double kTwoPi = 6.2831852;
constexpr double kCoreLifetime = -1.0;
// Sprites at least this many pixels across show every texel magnified with room to spare (the
// level of detail at most log2(64 / 80), well below 0, however a driver approximates it).
constexpr double kMagnifiedPixels = 80.0;

// 1 + cos(r pi) inside the unit circle: above 1 (clamped to opaque on upload) up to r = 0.5,
// fading to 0 at the rim.
void UploadGlowTexture(uint32_t& texture)
{
    std::vector<float> values(kGlowSize * kGlowSize);
    for (int i = 0; i < kGlowSize; ++i)
        for (int j = 0; j < kGlowSize; ++j) {
            const double r = Vec2(i * 0.03125 - 1.0, j * 0.03125 - 1.0).Length();
            values[i * kGlowSize + j] = r <= 1.0 ? static_cast<float>(1.0 + std::cos(r * kPi)) : 0.0f;
        }
    UploadAlphaTexture(kGlowSize, values.data(), texture);
}

// Opaque to r = 0.9, fading linearly to transparent at r = 1, transparent outside.
void MaskDisc(std::vector<uint8_t>& pixels)
{
    for (int i = 0; i < kDiscSize; ++i)
        for (int j = 0; j < kDiscSize; ++j) {
            const double r = Vec2(i * 0.015625 - 1.0, j * 0.015625 - 1.0).Length();
            int alpha = 255;
            if (r > 1.0)
                alpha = 0;
            else if (r > 0.9)
                alpha = static_cast<int>((1.0 - r) * 2550.0);
            pixels[(static_cast<size_t>(i) * kDiscSize + j) * 4 + 3] |= static_cast<uint8_t>(alpha & 0xFF);
        }
}
} // namespace

FormlessPlanet::FormlessPlanet()
{
    RunLog& log = Log();
    log.Record(kLogNotify, "Start initialization for the formless planet");
    UploadGlowTexture(glowTexture);
    std::vector<uint8_t> pixels;
    if (!LoadBitmapPixels(kPlanetBitmap, kDiscSize, kDiscSize, pixels))
        return;
    MaskDisc(pixels);
    const TextureParameters parameters = {GL_REPEAT, GL_LINEAR, GL_LINEAR, GL_RGBA16, kDiscSize, kDiscSize};
    UploadBitmapTexture(parameters, pixels, discTexture);
    particles.reserve(kMostParticles);
    sprites.Reserve(kMostParticles);
    smallSprites.Reserve(kMostParticles);
    particles.push_back({0.0, kCoreLifetime, 2.0, PlanetCentre});
    valid = true;
    log.Record(kLogNotify, "The formless planet is initialized properly");
}

void FormlessPlanet::Update(int32_t elapsedMilliseconds)
{
    // Ageing in list order, compacting in place: the survivors keep their order.
    size_t kept = 0;
    for (size_t i = 0; i < particles.size(); ++i) {
        PlanetParticle& particle = particles[i];
        if (particle.lifetime != kCoreLifetime) {
            if (particle.age > particle.lifetime)
                continue;
            particle.age += elapsedMilliseconds;
        }
        if (kept != i)
            particles[kept] = particle;
        ++kept;
    }
    particles.resize(kept);

    const double birth = RandomUnit();
    if (birth > 0.7)
        return;
    const size_t count = particles.size();
    if (count >= kMostParticles)
        return;
    const double pick = RandomUnit();
    size_t k = static_cast<size_t>(pick * static_cast<double>(count));
    if (k == count)
        k = count - 1;
    const PlanetParticle parent = particles[k];
    const double growth = RandomUnit();
    const double size = (0.4 * growth + 0.6) * parent.size;
    const double stepDraw = RandomUnit();
    const double step = stepDraw * parent.size * 0.2;
    const double turnDraw = RandomUnit();
    double turn = turnDraw - 0.5;
    const double lifetime = size * 3000.0;
    Vec3 away = parent.position - PlanetCentre;
    const double distance = away.Length();
    if (distance != 0.0) {
        away *= step / distance;
    } else {
        // A child of the core leaves in any direction.
        const double direction = RandomUnit();
        turn = direction * kTwoPi;
        away = Vec3(step, 0.0, 0.0);
    }
    const Vec3 position = away.RotateAbout(Vec3(0.0, 0.0, -1.0), turn) + parent.position;
    particles.push_back({0.0, lifetime, size, position});
}

double FormlessPlanet::SmallestMagnifiedSize()
{
    // Pixels per scene unit on the sprites' plane, 24 units in front of the eye, along the view's
    // narrower scale.
    const GLint* viewport = Drawing().viewport;
    const double halfHeight = kViewHalfHeightAtPlane * 6.0;
    const double perUnit = std::min(viewport[3] / (2.0 * halfHeight),
                                    viewport[2] / (2.0 * halfHeight * CurrentCameraAspect()));
    // An empty view magnifies nothing.
    return perUnit > 0.0 ? kMagnifiedPixels / (2.0 * perUnit) : HUGE_VAL;
}

void FormlessPlanet::Draw()
{
    SetSwitch(GL_BLEND, true);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDepthMask(GL_FALSE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, glowTexture);
    // Each fragment keeps the sprite's colour and takes its alpha from the glow.
    SetTextureEnvironment(GL_REPLACE);
    sprites.Clear();
    smallSprites.Clear();
    const double magnified = plainDrawing || !RendererWritesEveryBlend() ? HUGE_VAL : SmallestMagnifiedSize();
    double brightness = 0.0;
    for (const PlanetParticle& particle : particles) {
        brightness =
            particle.lifetime == kCoreLifetime ? 0.02 : 0.02 * std::sin(particle.age / particle.lifetime * kPi);
        // Black adds nothing to the sky: a newborn sprite (sin 0), or one past its lifetime, whose
        // negative brightness OpenGL would clamp to black.
        if (brightness <= 0.0)
            continue;
        (particle.size >= magnified ? sprites : smallSprites)
            .Add(particle.position.x, particle.position.y, particle.position.z, particle.size, brightness, brightness,
                 brightness);
    }
    // Every blend adds a whole number of steps (or nothing) to a whole number of steps, so the sum
    // does not depend on the order: the large sprites go first, in one draw with linear filtering
    // both ways, which spares the rasteriser the choice between the two filters at every pixel.
    // The small ones, minified in places, keep the nearest texel there. (A renderer that keeps
    // unwritten colours finer than the buffer's steps draws them all in list order.)
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    sprites.Draw();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    smallSprites.Draw();
    // The disc is drawn in the brightness of the last particle, even one that was skipped above.
    if (!particles.empty())
        glColor3d(brightness, brightness, brightness);

    // The picture's top row (t = 0) at the lower edge: the planet is shown upside down.
    glBindTexture(GL_TEXTURE_2D, discTexture);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const double cx = PlanetCentre.x, cy = PlanetCentre.y, cz = PlanetCentre.z;
    glBegin(GL_QUADS);
    glTexCoord2d(0.0, 0.0);
    glVertex3d(cx - 1.0, cy - 1.0, cz);
    glTexCoord2d(1.0, 0.0);
    glVertex3d(cx + 1.0, cy - 1.0, cz);
    glTexCoord2d(1.0, 1.0);
    glVertex3d(cx + 1.0, cy + 1.0, cz);
    glTexCoord2d(0.0, 1.0);
    glVertex3d(cx - 1.0, cy + 1.0, cz);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glDepthMask(GL_TRUE);
    SetSwitch(GL_BLEND, false);
}
