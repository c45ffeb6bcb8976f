#pragma once
// The saver's pictures, drawn by code: the sky over the ground (bitmap 123), the planet (130) and
// the settings dialog's two pictures (116, 120) made from the same art.

#include "Art.h"

// Rows from this one down are exactly the ground grey 126, 126, 126.
constexpr int kSkyFirstGroundRow = 216;

Image MakeSky();    // 512 x 256
Image MakePlanet(); // 128 x 128
Image MakeDialogLogo(const Image& sky, const Image& planet);  // 150 x 97
Image MakeDialogSide(const Image& sky, const Image& planet);  // 100 x 221
