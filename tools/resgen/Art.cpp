#include "Art.h"

namespace {
uint32_t Mix32(uint32_t h)
{
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return h;
}

double Fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }

double Hash3(int32_t x, int32_t y, int32_t z, uint32_t seed)
{
    const uint32_t h = Mix32(static_cast<uint32_t>(x) * 0x9E3779B1U ^ Mix32(static_cast<uint32_t>(y) * 0x85EBCA77U ^
                             Mix32(static_cast<uint32_t>(z) * 0xC2B2AE3DU ^ seed)));
    return (h >> 8) * (1.0 / 16777216.0);
}
} // namespace

double Hash01(int32_t x, int32_t y, uint32_t seed)
{
    return Hash3(x, y, 0x5bd1e995, seed);
}

double ValueNoise(double x, double y, uint32_t seed)
{
    const double fx = std::floor(x), fy = std::floor(y);
    const int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
    const double tx = Fade(x - fx), ty = Fade(y - fy);
    const double a = Hash01(ix, iy, seed), b = Hash01(ix + 1, iy, seed);
    const double c = Hash01(ix, iy + 1, seed), d = Hash01(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double Fbm(double x, double y, uint32_t seed, int octaves)
{
    double sum = 0, amplitude = 0.5, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * ValueNoise(x, y, seed + 1013u * i);
        total += amplitude;
        x *= 2.03;
        y *= 2.03;
        amplitude *= 0.5;
    }
    return sum / total;
}

double ValueNoise3(double x, double y, double z, uint32_t seed)
{
    const double fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    const int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy), iz = static_cast<int32_t>(fz);
    const double tx = Fade(x - fx), ty = Fade(y - fy), tz = Fade(z - fz);
    double layer[2];
    for (int k = 0; k < 2; ++k) {
        const double a = Hash3(ix, iy, iz + k, seed), b = Hash3(ix + 1, iy, iz + k, seed);
        const double c = Hash3(ix, iy + 1, iz + k, seed), d = Hash3(ix + 1, iy + 1, iz + k, seed);
        const double ab = a + (b - a) * tx, cd = c + (d - c) * tx;
        layer[k] = ab + (cd - ab) * ty;
    }
    return layer[0] + (layer[1] - layer[0]) * tz;
}

double Fbm3(double x, double y, double z, uint32_t seed, int octaves)
{
    double sum = 0, amplitude = 0.5, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * ValueNoise3(x, y, z, seed + 7919u * i);
        total += amplitude;
        x *= 2.01;
        y *= 2.01;
        z *= 2.01;
        amplitude *= 0.5;
    }
    return sum / total;
}

Rgb Image::Sample(double x, double y) const
{
    x = x < 0 ? 0 : (x > width - 1 ? width - 1 : x);
    y = y < 0 ? 0 : (y > height - 1 ? height - 1 : y);
    const int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
    const int x1 = x0 + 1 < width ? x0 + 1 : x0, y1 = y0 + 1 < height ? y0 + 1 : y0;
    const double tx = x - x0, ty = y - y0;
    return Mix(Mix(At(x0, y0), At(x1, y0), tx), Mix(At(x0, y1), At(x1, y1), tx), ty);
}

uint8_t ToByte(double v)
{
    const double scaled = std::floor(Clamp01(v) * 255 + 0.5);
    return static_cast<uint8_t>(scaled);
}
