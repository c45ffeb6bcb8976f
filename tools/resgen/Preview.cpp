#include "Preview.h"

#include <algorithm>
#include <limits>

namespace {
void Paste(Image& sheet, const Image& picture, int left, int top, int zoom)
{
    for (int y = 0; y < picture.height * zoom; ++y)
        for (int x = 0; x < picture.width * zoom; ++x)
            if (left + x < sheet.width && top + y < sheet.height)
                sheet.At(left + x, top + y) = picture.At(x / zoom, y / zoom);
}

struct View {
    // Screen x and y as dot products with these axes (model units fitted to 0.01..1 in x);
    // depth grows towards the viewer.
    Vec3 right, up, towards;
    int left, top, width, height;
    double scale, centreRight, centreUp;
};

const Rgb kMeshColours[] = {Rgb255(96, 150, 120), Rgb255(200, 170, 120), Rgb255(250, 90, 80), Rgb255(230, 150, 80)};

void RenderView(Image& sheet, const std::vector<ModelMesh>& meshes, const View& view, double minX, double fit)
{
    std::vector<double> depth(static_cast<size_t>(view.width) * view.height, -std::numeric_limits<double>::infinity());
    Vec3 light = view.towards * 0.8 + view.up * 0.5 - view.right * 0.3;
    light.Normalize();
    for (size_t m = 0; m < meshes.size(); ++m) {
        const ModelMesh& mesh = meshes[m];
        std::vector<Vec3> screen;
        for (const ModelVertex& v : mesh.vertices) {
            const Vec3 p((v.position.x - minX) * fit + 0.01, v.position.y * fit, v.position.z * fit);
            screen.emplace_back(view.width / 2.0 + (p.Dot(view.right) - view.centreRight) * view.scale,
                                view.height / 2.0 - (p.Dot(view.up) - view.centreUp) * view.scale, p.Dot(view.towards));
        }
        for (size_t i = 0; i < mesh.indices.size(); i += 3) {
            const int ia = mesh.indices[i], ib = mesh.indices[i + 1], ic = mesh.indices[i + 2];
            const Vec3 &a = screen[ia], &b = screen[ib], &c = screen[ic];
            // Screen y points down, so counter-clockwise faces have a negative signed area here.
            const double area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
            if (area >= 0)
                continue;
            const int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
            const int x1 = std::min(view.width - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
            const int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
            const int y1 = std::min(view.height - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
            const ModelVertex &va = mesh.vertices[ia], &vb = mesh.vertices[ib], &vc = mesh.vertices[ic];
            // Grid values' change per pixel, for lines one pixel wide.
            auto gradient = [&](double fa, double fb, double fc) {
                const double gx = ((fb - fa) * (c.y - a.y) - (fc - fa) * (b.y - a.y)) / area;
                const double gy = ((fc - fa) * (b.x - a.x) - (fb - fa) * (c.x - a.x)) / area;
                return std::sqrt(gx * gx + gy * gy) + 1e-9;
            };
            const double du = gradient(va.grid.x, vb.grid.x, vc.grid.x);
            const double dv = gradient(va.grid.y, vb.grid.y, vc.grid.y);
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x) {
                    const double px = x + 0.5, py = y + 0.5;
                    const double wa = ((b.x - px) * (c.y - py) - (b.y - py) * (c.x - px)) / area;
                    const double wb = ((c.x - px) * (a.y - py) - (c.y - py) * (a.x - px)) / area;
                    const double wc = 1 - wa - wb;
                    if (wa < 0 || wb < 0 || wc < 0)
                        continue;
                    const double z = wa * a.z + wb * b.z + wc * c.z;
                    double& stored = depth[static_cast<size_t>(y) * view.width + x];
                    if (z <= stored)
                        continue;
                    stored = z;
                    Vec3 n = va.normal * wa + vb.normal * wb + vc.normal * wc;
                    n.Normalize();
                    const double u = va.grid.x * wa + vb.grid.x * wb + vc.grid.x * wc;
                    const double v = va.grid.y * wa + vb.grid.y * wb + vc.grid.y * wc;
                    const double lineU = std::fabs(u - std::round(u)) / du, lineV = std::fabs(v - std::round(v)) / dv;
                    const double shade = 0.28 + 0.72 * std::max(0.0, n.Dot(light));
                    Rgb colour = Scale(kMeshColours[m], shade);
                    if (std::min(lineU, lineV) < 0.6)
                        colour = Scale(colour, 0.55);
                    sheet.At(view.left + x, view.top + y) = colour;
                }
        }
    }
}
} // namespace

Image MakeContactSheet(const std::vector<const Image*>& bitmaps, const std::vector<ModelMesh>& creature)
{
    Image sheet(1060, 1290);
    for (Rgb& p : sheet.pixels)
        p = Rgb255(236, 236, 232);
    // The sky, the planet (twice its size), the dialog's side picture and logo.
    Paste(sheet, *bitmaps[0], 8, 8, 1);
    Paste(sheet, *bitmaps[1], 528, 8, 2);
    Paste(sheet, *bitmaps[3], 792, 8, 1);
    Paste(sheet, *bitmaps[2], 900, 8, 1);

    double minX = creature[0].vertices[0].position.x, maxX = minX;
    for (const ModelMesh& mesh : creature)
        for (const ModelVertex& v : mesh.vertices) {
            minX = std::min(minX, v.position.x);
            maxX = std::max(maxX, v.position.x);
        }
    const double fit = 0.99 / (maxX - minX);
    // From the side (head to the right), from above, and from the front (looking at the face).
    RenderView(sheet, creature, {Vec3(1, 0, 0), Vec3(0, 0, 1), Vec3(0, -1, 0), 8, 280, 1044, 330, 1000, 0.505, -0.015}, minX, fit);
    RenderView(sheet, creature, {Vec3(1, 0, 0), Vec3(0, 1, 0), Vec3(0, 0, 1), 8, 620, 1044, 240, 1000, 0.505, 0}, minX, fit);
    RenderView(sheet, creature, {Vec3(0, 1, 0), Vec3(0, 0, 1), Vec3(1, 0, 0), 8, 870, 520, 410, 1700, 0, -0.015}, minX, fit);
    // The head from the front and a little above, closer.
    Vec3 towards(1, 0, 0.6);
    towards.Normalize();
    Vec3 up = Vec3(-0.6, 0, 1);
    up.Normalize();
    RenderView(sheet, creature, {Vec3(0, 1, 0), up, towards, 536, 870, 516, 410, 2600, 0, -0.43}, minX, fit);
    return sheet;
}

Image MakeWaveforms(const std::vector<std::vector<int16_t>>& sounds)
{
    const int width = 1000, band = 200;
    Image image(width, band * static_cast<int>(sounds.size()));
    for (Rgb& p : image.pixels)
        p = Rgb255(250, 250, 246);
    for (size_t s = 0; s < sounds.size(); ++s) {
        const std::vector<int16_t>& samples = sounds[s];
        const int top = static_cast<int>(s) * band;
        for (int x = 0; x < width; ++x)
            image.At(x, top + band / 2) = Rgb255(200, 200, 200);
        // The flap is longer: both are drawn against the same time scale of 1.2 s.
        const double perColumn = 1.2 * 44100 / width;
        for (int x = 0; x < width; ++x) {
            const size_t from = static_cast<size_t>(x * perColumn), to = static_cast<size_t>((x + 1) * perColumn);
            if (from >= samples.size())
                break;
            int lo = 0, hi = 0;
            for (size_t i = from; i < std::min(to, samples.size()); ++i) {
                lo = std::min<int>(lo, samples[i]);
                hi = std::max<int>(hi, samples[i]);
            }
            const int yHi = top + band / 2 - hi * (band / 2 - 6) / 32768, yLo = top + band / 2 - lo * (band / 2 - 6) / 32768;
            for (int y = yHi; y <= yLo; ++y)
                image.At(x, y) = s == 0 ? Rgb255(60, 90, 160) : Rgb255(170, 90, 50);
        }
    }
    return image;
}
