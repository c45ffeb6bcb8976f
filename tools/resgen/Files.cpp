#include "Files.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <zlib.h>

namespace {
void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void PutBe32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back((v >> shift) & 0xFF);
}

// File header and BITMAPINFOHEADER for a bottom-up, uncompressed bitmap.
std::vector<uint8_t> BmpHeaders(int width, int height, int bits, uint32_t paletteEntries, uint32_t imageBytes)
{
    std::vector<uint8_t> out;
    const uint32_t offset = 14 + 40 + paletteEntries * 4;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + imageBytes);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(bits));
    Put32(out, 0); // BI_RGB
    Put32(out, imageBytes);
    Put32(out, 2835); // 72 dpi
    Put32(out, 2835);
    Put32(out, paletteEntries);
    Put32(out, 0);
    return out;
}

struct Box {
    std::vector<std::array<int, 3>> colours;
};

// Median cut: split the box with the widest channel at its median until there are 256 boxes.
std::vector<std::array<int, 3>> MedianCutPalette(const Image& image)
{
    std::vector<Box> boxes(1);
    for (const Rgb& p : image.pixels)
        boxes[0].colours.push_back({ToByte(p.r), ToByte(p.g), ToByte(p.b)});
    while (boxes.size() < 256) {
        size_t best = boxes.size();
        int bestRange = 0, bestChannel = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            for (int c = 0; c < 3; ++c) {
                int lo = 255, hi = 0;
                for (const auto& colour : boxes[i].colours) {
                    lo = std::min(lo, colour[c]);
                    hi = std::max(hi, colour[c]);
                }
                if (hi - lo > bestRange) {
                    bestRange = hi - lo;
                    best = i;
                    bestChannel = c;
                }
            }
        }
        if (best == boxes.size())
            break;
        auto& colours = boxes[best].colours;
        std::sort(colours.begin(), colours.end(),
                  [bestChannel](const std::array<int, 3>& a, const std::array<int, 3>& b) {
                      return a[bestChannel] < b[bestChannel] || (a[bestChannel] == b[bestChannel] && a < b);
                  });
        Box upper;
        upper.colours.assign(colours.begin() + colours.size() / 2, colours.end());
        colours.resize(colours.size() / 2);
        boxes.push_back(upper);
    }
    std::vector<std::array<int, 3>> palette;
    for (const Box& box : boxes) {
        long sum[3] = {0, 0, 0};
        for (const auto& colour : box.colours)
            for (int c = 0; c < 3; ++c)
                sum[c] += colour[c];
        const long n = static_cast<long>(box.colours.size());
        palette.push_back({static_cast<int>((sum[0] + n / 2) / n), static_cast<int>((sum[1] + n / 2) / n),
                           static_cast<int>((sum[2] + n / 2) / n)});
    }
    palette.resize(256, {0, 0, 0});
    return palette;
}

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0)
{
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320U & (0U - (crc & 1)));
    }
    return ~crc;
}

void PngChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    PutBe32(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBe32(out, Crc32(body.data(), body.size()));
}
} // namespace

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0) {
        std::fprintf(stderr, "resgen: cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

void WriteBmp24(const std::string& path, const Image& image)
{
    const uint32_t stride = (image.width * 3 + 3) & ~3u;
    std::vector<uint8_t> out = BmpHeaders(image.width, image.height, 24, 0, stride * image.height);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb& p = image.At(x, y);
            out.push_back(ToByte(p.b));
            out.push_back(ToByte(p.g));
            out.push_back(ToByte(p.r));
        }
        for (uint32_t pad = image.width * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    WriteBytes(path, out);
}

void WriteBmp8(const std::string& path, const Image& image)
{
    const auto palette = MedianCutPalette(image);
    const int w = image.width, h = image.height;
    std::vector<std::array<double, 3>> work(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < work.size(); ++i)
        work[i] = {image.pixels[i].r * 255, image.pixels[i].g * 255, image.pixels[i].b * 255};
    std::vector<uint8_t> index(work.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            auto& p = work[static_cast<size_t>(y) * w + x];
            int best = 0;
            double bestDistance = 1e30;
            for (int k = 0; k < 256; ++k) {
                double d = 0;
                for (int c = 0; c < 3; ++c)
                    d += (p[c] - palette[k][c]) * (p[c] - palette[k][c]);
                if (d < bestDistance) {
                    bestDistance = d;
                    best = k;
                }
            }
            index[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>(best);
            // Floyd-Steinberg: spread the error to the right and below.
            for (int c = 0; c < 3; ++c) {
                const double error = p[c] - palette[best][c];
                auto spread = [&](int dx, int dy, double weight) {
                    if (x + dx >= 0 && x + dx < w && y + dy < h)
                        work[static_cast<size_t>(y + dy) * w + x + dx][c] += error * weight;
                };
                spread(1, 0, 7.0 / 16);
                spread(-1, 1, 3.0 / 16);
                spread(0, 1, 5.0 / 16);
                spread(1, 1, 1.0 / 16);
            }
        }
    }
    const uint32_t stride = (w + 3) & ~3u;
    std::vector<uint8_t> out = BmpHeaders(w, h, 8, 256, stride * h);
    for (const auto& colour : palette) {
        out.push_back(static_cast<uint8_t>(colour[2]));
        out.push_back(static_cast<uint8_t>(colour[1]));
        out.push_back(static_cast<uint8_t>(colour[0]));
        out.push_back(0);
    }
    for (int y = h - 1; y >= 0; --y) {
        out.insert(out.end(), index.begin() + static_cast<long>(y) * w, index.begin() + static_cast<long>(y + 1) * w);
        for (uint32_t pad = w; pad < stride; ++pad)
            out.push_back(0);
    }
    WriteBytes(path, out);
}

void WritePng(const std::string& path, const Image& image)
{
    std::vector<uint8_t> raw;
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0); // no filter
        for (int x = 0; x < image.width; ++x) {
            const Rgb& p = image.At(x, y);
            raw.push_back(ToByte(p.r));
            raw.push_back(ToByte(p.g));
            raw.push_back(ToByte(p.b));
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> z(packedSize);
    if (compress2(z.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) {
        std::fprintf(stderr, "resgen: cannot compress %s\n", path.c_str());
        std::exit(1);
    }
    z.resize(packedSize);

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBe32(header, static_cast<uint32_t>(image.width));
    PutBe32(header, static_cast<uint32_t>(image.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});
    PngChunk(out, "IHDR", header);
    PngChunk(out, "IDAT", z);
    PngChunk(out, "IEND", {});
    WriteBytes(path, out);
}
