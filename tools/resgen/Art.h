#pragma once
// Shared helpers of the resource generator: colour images in doubles, deterministic noise and
// small maths. Everything is seeded by constants, so every run writes the same bytes.

#include <cmath>
#include <cstdint>
#include <vector>

struct Rgb {
    double r = 0, g = 0, b = 0;
};

inline Rgb Mix(const Rgb& a, const Rgb& b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Rgb Scale(const Rgb& a, double s) { return {a.r * s, a.g * s, a.b * s}; }
inline Rgb Add(const Rgb& a, const Rgb& b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
// A colour given as 0..255 components.
inline Rgb Rgb255(double r, double g, double b) { return {r / 255, g / 255, b / 255}; }

inline double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline double SmoothStep(double e0, double e1, double x)
{
    const double t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels; // top row first

    Image(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h) {}
    Rgb& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const Rgb& At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Bilinear sample at pixel coordinates, clamped to the edges.
    Rgb Sample(double x, double y) const;
};

// Integer hash to [0, 1).
double Hash01(int32_t x, int32_t y, uint32_t seed);
// Smooth value noise in [0, 1] on a unit lattice.
double ValueNoise(double x, double y, uint32_t seed);
// Fractal sum of value noise, octaves halving in size; result roughly in [0, 1].
double Fbm(double x, double y, uint32_t seed, int octaves);
// Value noise on a 3D lattice, for patterns on a sphere.
double ValueNoise3(double x, double y, double z, uint32_t seed);
double Fbm3(double x, double y, double z, uint32_t seed, int octaves);

// A colour image's bytes, 8 bits per component, rounded and clamped.
uint8_t ToByte(double v);
