// libFuzzer target: the bitmap reader on arbitrary bytes. The size asked for is taken from the
// bytes' own header (kept small), so that consistent headers reach the pixel loop.
#include "gfx/BitmapPixels.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    int width = 3, height = 2;
    if (size >= 12) {
        width = static_cast<int>((data[4] | (data[5] << 8)) % 600);
        height = static_cast<int>((data[8] | (data[9] << 8)) % 600);
    }
    std::vector<uint8_t> pixels;
    if (DecodeBitmapPixels(data, size, width, height, pixels) &&
        pixels.size() != static_cast<size_t>(width) * height * 4)
        __builtin_trap();
    return 0;
}
