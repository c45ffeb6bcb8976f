#include "Pictures.h"

// The saver shows this picture upside down (its top row at the bottom of the disc), so the light
// comes from the lower left here and from the upper left on screen. The saver cuts the square with
// a circular alpha that is opaque to 0.9 of the half-size; the sphere fills most of that and its
// thin atmosphere fades out in the ring beyond.
Image MakePlanet()
{
    Image planet(128, 128);
    const double radius = 55.5;
    const double lx = -0.55, ly = 0.48, lz = 0.68; // image y grows downwards
    const double ll = std::sqrt(lx * lx + ly * ly + lz * lz);
    const Rgb space = Rgb255(7, 8, 16);
    for (int row = 0; row < 128; ++row) {
        for (int col = 0; col < 128; ++col) {
            const double px = (col - 64) / radius, py = (row - 64) / radius;
            const double r2 = px * px + py * py;
            Rgb c = space;
            if (r2 <= 1.0) {
                const double pz = std::sqrt(1 - r2);
                const double lambert = (px * lx + py * ly + pz * lz) / ll;
                // Bands that follow latitude, pulled into swirls by noise.
                const double warp = Fbm3(px * 2.2, py * 2.2, pz * 2.2, 41, 5) - 0.5;
                const double latitude = py * 0.92 + px * 0.25 + warp * 0.35;
                const double bands = 0.5 + 0.5 * std::sin(latitude * 15.0 + 2.0 * std::sin(latitude * 4.0));
                const double detail = Fbm3(px * 6, py * 6, pz * 6, 43, 4);
                Rgb surface = Mix(Rgb255(40, 70, 120), Rgb255(120, 170, 196), bands);
                surface = Mix(surface, Rgb255(214, 196, 172), SmoothStep(0.62, 0.8, detail) * 0.6);
                surface = Mix(surface, Rgb255(30, 46, 92), SmoothStep(0.45, 0.25, detail) * 0.5);
                // A soft terminator, a faint night side and a rim of atmosphere on the lit limb.
                const double day = SmoothStep(-0.22, 0.45, lambert);
                c = Add(Scale(surface, 0.05 + 0.95 * day * (0.55 + 0.45 * Clamp01(lambert))),
                        Scale(Rgb255(90, 140, 220), std::pow(1 - pz, 3) * (0.2 + 0.8 * day)));
                // Anti-aliased limb.
                c = Mix(c, space, SmoothStep(0.985, 1.0, std::sqrt(r2)));
            } else {
                const double r = std::sqrt(r2);
                const double side = Clamp01(0.5 + 0.5 * (-px * lx - py * ly) / (r * ll) * -1);
                c = Add(space, Scale(Rgb255(60, 100, 170), std::exp(-(r - 1) * 22) * (0.25 + 0.75 * side)));
            }
            planet.At(col, row) = c;
        }
    }
    return planet;
}
