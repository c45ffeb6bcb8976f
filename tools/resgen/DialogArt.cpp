#include "Pictures.h"

namespace {
// A 5 x 7 pixel face for the letters of the name.
const char* Glyph(char letter)
{
    switch (letter) {
    case 'M': return "X...XXX.XXX.X.XX...XX...XX...XX...X";
    case 'O': return ".XXX.X...XX...XX...XX...XX...X.XXX.";
    case 'R': return "XXXX.X...XX...XXXXX.X.X..X..X.X...X";
    case 'W': return "X...XX...XX...XX.X.XX.X.XXX.XXX...X";
    case 'E': return "XXXXXX....X....XXXX.X....X....XXXXX";
    default: return "...................................";
    }
}

void DrawText(Image& image, const char* text, int left, int top, int scale, const Rgb& colour)
{
    for (int i = 0; text[i]; ++i) {
        const char* glyph = Glyph(text[i]);
        for (int gy = 0; gy < 7; ++gy)
            for (int gx = 0; gx < 5; ++gx) {
                if (glyph[gy * 5 + gx] != 'X')
                    continue;
                for (int sy = 0; sy < scale; ++sy)
                    for (int sx = 0; sx < scale; ++sx) {
                        const int x = left + (i * 6 + gx) * scale + sx, y = top + gy * scale + sy;
                        if (x >= 0 && x < image.width && y >= 0 && y < image.height)
                            image.At(x, y) = colour;
                    }
            }
    }
}

// Pastes the planet, shown the way the saver shows it (upside down), centred at (cx, cy).
void PastePlanet(Image& image, const Image& planet, double cx, double cy, double radius)
{
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const double dx = (x - cx) / radius, dy = (y - cy) / radius;
            const double r = std::sqrt(dx * dx + dy * dy);
            if (r >= 1)
                continue;
            const double alpha = r <= 0.9 ? 1 : (1 - r) * 10;
            const Rgb p = planet.Sample(64 + dx * 64, 64 - dy * 64);
            image.At(x, y) = Mix(image.At(x, y), p, alpha);
        }
}

// A window onto the sky picture, resampled.
Image Crop(const Image& sky, int width, int height, double left, double top, double right, double bottom)
{
    Image out(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.At(x, y) = sky.Sample(left + (right - left) * (x + 0.5) / width,
                                      top + (bottom - top) * (y + 0.5) / height);
    return out;
}
} // namespace

Image MakeDialogLogo(const Image& sky, const Image& planet)
{
    Image logo = Crop(sky, 150, 97, 150, 40, 480, 214);
    PastePlanet(logo, planet, 108, 26, 17);
    DrawText(logo, "MORROWMERE", 16, 80, 2, Rgb255(20, 18, 30));
    DrawText(logo, "MORROWMERE", 15, 79, 2, Rgb255(248, 236, 214));
    return logo;
}

Image MakeDialogSide(const Image& sky, const Image& planet)
{
    Image side = Crop(sky, 100, 221, 20, 0, 230, 226);
    PastePlanet(side, planet, 58, 52, 24);
    return side;
}
