#pragma once
// Square, textured, single-coloured sprites facing the camera, gathered in contiguous storage and
// handed to OpenGL in one draw call instead of a dozen immediate-mode calls each. The vertices,
// texture coordinates and colours are the ones immediate mode would pass, as doubles, so the
// picture is the same. Storage grows only past the largest count seen and is kept between frames.
//
// Render thread only, with the rendering context current for Draw.

#include <cstddef>
#include <vector>

class SpriteQuads {
public:
    // Room for `sprites` without allocating.
    void Reserve(size_t sprites);
    // Forgets the sprites and keeps the storage.
    void Clear();
    // A sprite of half-size `half` centred on (x, y, z) in the x/y plane, its corners counter-
    // clockwise from the lower left with texture coordinates (0, 0), (1, 0), (1, 1), (0, 1).
    void Add(double x, double y, double z, double half, double red, double green, double blue);
    // Draws the sprites as GL_QUADS from client memory, with no generic array on for the draw.
    // Leaves the client arrays off, the generic ones as they were, and the current colour
    // undefined (set it again where it matters). Draws nothing when empty.
    void Draw() const;
    size_t Count() const { return colours_.size() / 12; }

private:
    std::vector<double> vertices_;  // x, y, z per corner
    std::vector<double> texCoords_; // s, t per corner
    std::vector<double> colours_;   // red, green, blue per corner
};
