#pragma once
// The planet high in the sky: a picture of a planet on a round disc (bitmap 130, shown upside
// down), wrapped in a glow that never keeps its shape. The glow is a family of additive sprites:
// one permanent core at the planet's centre, and sprites that bud off a randomly chosen one in
// about 70% of the frames, a little smaller and further out than their parent, fading in and out
// along a half sine over a life proportional to their size.
//
// Render thread only, with the rendering context current. The textures go with the context.

#include "gfx/SpriteQuads.h"
#include "gfx/Vec3.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The centre of the disc, the core's place and the point the sprites move away from.
extern const Vec3 PlanetCentre;

struct PlanetParticle {
    double age;      // milliseconds lived
    double lifetime; // milliseconds to live; exactly -1 for the core
    double size;     // half the edge of its square sprite, in scene units
    Vec3 position;   // the sprite's centre, in the plane z = -20
};

class FormlessPlanet {
public:
    // At most this many particles, the core included.
    static constexpr size_t kMostParticles = 3001;

    // Builds the glow texture, the disc texture and the core. Without bitmap 130 the planet stays
    // invalid (the glow texture made, no particles) and the scene does not start.
    FormlessPlanet();

    FormlessPlanet(const FormlessPlanet&) = delete;
    FormlessPlanet& operator=(const FormlessPlanet&) = delete;

    // Ages the sprites (removing those past their lifetime), then may add one. Draws one random
    // number, or five, or six for a child of the core.
    void Update(int32_t elapsedMilliseconds);
    // The glow sprites added onto the sky (the large ones first), then the disc over them. Leaves
    // the texture environment mode GL_REPLACE and the glow texture's minification GL_NEAREST.
    void Draw();

    bool valid = false;
    uint32_t glowTexture = 0;
    uint32_t discTexture = 0;
    // In creation order, the core first. Room for kMostParticles is taken once, so births never
    // allocate.
    std::vector<PlanetParticle> particles;
    // Every sprite that is not black in one draw in list order, with nearest minification (the
    // replay program's reference picture).
    bool plainDrawing = false;

private:
    // This frame's glow, rebuilt by every Draw: the sprites large enough to show the glow texture
    // magnified everywhere, and the others.
    SpriteQuads sprites;
    SpriteQuads smallSprites;

    // The smallest `size` whose sprite shows magnified in the current viewport.
    static double SmallestMagnifiedSize();
};
