#pragma once
// The background: the sky picture (bitmap 123) over a plain grey ground band, on the plane z = 0
// that the fixed camera looks at. Drawn first in every frame, without depth test or depth writes,
// so it fills the view and hides nothing drawn after it.
//
// Render thread only, with the rendering context current. The texture goes with the context.

#include <cstdint>

class Horizon {
public:
    // Loads and uploads the picture; `texture` stays 0 when the bitmap is missing, which the scene
    // takes as a failed start.
    Horizon();

    Horizon(const Horizon&) = delete;
    Horizon& operator=(const Horizon&) = delete;

    void Draw();

    uint32_t texture;
};
