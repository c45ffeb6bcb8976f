#include "gfx/BitmapPixels.h"

#include "gfx/ResourceLookup.h"

namespace {
uint32_t Read32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Read16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

constexpr uint32_t kInfoHeaderSize = 40;
constexpr int kLargestSide = 1 << 14;
} // namespace

bool DecodeBitmapPixels(const uint8_t* bytes, size_t size, int width, int height, std::vector<uint8_t>& pixels)
{
    if (!bytes || size < kInfoHeaderSize || width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide)
        return false;
    const uint64_t headerSize = Read32(bytes);
    const int32_t storedWidth = static_cast<int32_t>(Read32(bytes + 4));
    const int32_t storedHeight = static_cast<int32_t>(Read32(bytes + 8));
    const uint16_t planes = Read16(bytes + 12);
    const uint16_t bitsPerPixel = Read16(bytes + 14);
    const uint32_t compression = Read32(bytes + 16);
    const uint64_t paletteEntries = Read32(bytes + 32);
    // Later header versions only add fields; rows are stored bottom row first unless the height
    // is negative.
    const bool topDown = storedHeight < 0;
    if (headerSize < kInfoHeaderSize || headerSize > size || storedWidth != width ||
        (storedHeight != height && storedHeight != -static_cast<int64_t>(height)) || planes != 1 ||
        bitsPerPixel != 24 || compression != 0)
        return false;
    const uint64_t stride = (static_cast<uint64_t>(width) * 3 + 3) & ~uint64_t{3};
    const uint64_t offset = headerSize + paletteEntries * 4;
    if (paletteEntries > size || offset > size || stride * height > size - offset)
        return false;

    pixels.assign(static_cast<size_t>(width) * height * 4, 0);
    for (int row = 0; row < height; ++row) {
        const uint8_t* source = bytes + offset + stride * static_cast<uint64_t>(topDown ? row : height - 1 - row);
        uint8_t* target = pixels.data() + static_cast<size_t>(row) * width * 4;
        for (int x = 0; x < width; ++x) {
            target[x * 4 + 0] = source[x * 3 + 0];
            target[x * 4 + 1] = source[x * 3 + 1];
            target[x * 4 + 2] = source[x * 3 + 2];
        }
    }
    return true;
}

bool ReadBitmapResource(int id, int width, int height, std::vector<uint8_t>& pixels)
{
    ResourceBytes bytes;
    return FindResourceBytes(ResourceType::Bitmap, id, bytes) &&
           DecodeBitmapPixels(bytes.data, bytes.size, width, height, pixels);
}
