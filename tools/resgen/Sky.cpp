#include "Pictures.h"

namespace {
const Rgb kGround = Rgb255(126, 126, 126);

// Dusk gradient by row, with the afterglow of a sun set right of centre.
Rgb SkyColour(double x, double y)
{
    struct Stop {
        double row;
        Rgb colour;
    };
    static const Stop stops[] = {
        {0, Rgb255(9, 11, 36)},      {45, Rgb255(22, 24, 66)},   {90, Rgb255(62, 46, 104)},
        {120, Rgb255(140, 82, 118)}, {142, Rgb255(222, 142, 112)}, {160, Rgb255(246, 196, 140)},
        {256, Rgb255(246, 206, 160)},
    };
    Rgb colour = stops[0].colour;
    for (size_t i = 1; i < sizeof stops / sizeof stops[0]; ++i) {
        if (y <= stops[i].row) {
            const double t = (y - stops[i - 1].row) / (stops[i].row - stops[i - 1].row);
            colour = Mix(stops[i - 1].colour, stops[i].colour, SmoothStep(0, 1, t));
            break;
        }
    }
    // The glow is warmest above the place the sun went down and cools towards the left.
    const double dx = (x - 340) / 260, dy = (y - 165) / 95;
    const double glow = std::exp(-(dx * dx + dy * dy) * 1.6);
    colour = Add(colour, Scale(Rgb255(70, 38, 10), glow));
    const double cool = SmoothStep(300, 0, x) * SmoothStep(170, 80, y);
    return Mix(colour, Rgb255(30, 34, 86), 0.25 * cool);
}

double StarLight(int x, int y)
{
    if (y > 118)
        return 0;
    const double h = Hash01(x, y, 77);
    const double visibility = SmoothStep(118, 40, y);
    if (h > 0.9965)
        return visibility * (0.35 + 0.65 * Hash01(x, y, 78));
    return 0;
}

// Heights of the hill ridges, in rows, for three layers from far to near.
double RidgeRow(int layer, double x)
{
    static const double base[] = {146, 160, 176};
    static const double amplitude[] = {26, 22, 14};
    static const double scale[] = {95, 70, 48};
    const double n = Fbm(x / scale[layer], layer * 7.3, 300 + layer, 5);
    return base[layer] - amplitude[layer] * (n - 0.25) * 1.6;
}
} // namespace

Image MakeSky()
{
    Image sky(512, 256);
    static const Rgb hill[] = {Rgb255(112, 88, 128), Rgb255(82, 70, 102), Rgb255(62, 58, 78)};
    for (int y = 0; y < sky.height; ++y) {
        for (int x = 0; x < sky.width; ++x) {
            Rgb c = SkyColour(x, y);
            // Long thin clouds, lit from below by the afterglow.
            const double band = SmoothStep(62, 96, y) * SmoothStep(142, 112, y);
            const double n = Fbm(x / 110.0, y / 13.0, 11, 6);
            const double density = band * SmoothStep(0.52, 0.74, n);
            const double warm = SmoothStep(0, 420, x) * SmoothStep(80, 135, y);
            const Rgb cloud = Mix(Rgb255(70, 58, 104), Rgb255(250, 162, 136), warm);
            c = Mix(c, cloud, 0.75 * density);
            c = Add(c, Scale(Rgb255(255, 250, 235), StarLight(x, y) * (1 - density)));

            // Hills, far to near: each fades into the grey ground mist towards its foot.
            for (int layer = 0; layer < 3; ++layer) {
                const double top = RidgeRow(layer, x);
                if (y + 0.5 < top)
                    continue;
                const double edge = Clamp01(y + 0.5 - top); // soft one-pixel edge
                const double mist = SmoothStep(top + 2, top + 40 - layer * 6, y);
                const Rgb lit = Add(hill[layer], Scale(Rgb255(40, 20, 6), SmoothStep(top + 8, top, y)));
                c = Mix(c, Mix(lit, kGround, 0.35 + 0.65 * mist), edge);
            }
            // The plain in front: grey, with a breath of evening warmth that dies out before
            // the rows that the ground band continues.
            const double plain = SmoothStep(178, 196, y);
            const double warmth = SmoothStep(kSkyFirstGroundRow, 196, y);
            const Rgb ground = Add(kGround, Scale(Rgb255(6, 2, -4), warmth * (Fbm(x / 40.0, y / 6.0, 5, 3) - 0.3)));
            c = Mix(c, ground, plain);
            sky.At(x, y) = y >= kSkyFirstGroundRow ? kGround : c;
        }
    }
    return sky;
}
