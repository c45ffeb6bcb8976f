#pragma once
// The background: the sky picture (bitmap 123) over a plain grey ground band, on the plane z = 0
// that the fixed camera looks at. Drawn first in every frame, without depth test or depth writes,
// so it fills the view and hides nothing drawn after it. On a view wider than 4:3 both quads
// reach past its side edges and the picture goes on mirrored; elsewhere they are x from -1 to 1.
//
// Render thread only, with the rendering context current. The texture goes with the context.

#include "gfx/ViewportCopy.h"

#include <cstdint>

class Horizon {
public:
    // Loads and uploads the picture; `texture` stays 0 when the bitmap is missing, which the scene
    // takes as a failed start.
    Horizon();

    Horizon(const Horizon&) = delete;
    Horizon& operator=(const Horizon&) = delete;

    // Draws the picture, or puts back the copy of the frame before when nothing it depends on
    // changed: the same pixels either way.
    void Draw();

    uint32_t texture;
    // Drawn every frame, never put back (the replay program's reference picture).
    bool plainDrawing = false;

private:
    // Whether the texture's wrap along s mirrors (a view wider than the picture) or clamps.
    bool mirroredSides;
    ViewportCopy copy_;

    void DrawPicture();
};
