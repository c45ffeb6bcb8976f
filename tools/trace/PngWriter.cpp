#include "tools/trace/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace {
// libpng reports errors by a long jump back into this function; nothing in it needs a destructor
// run across that jump (the row buffer is made by the caller).
bool WriteRows(FILE* file, int32_t width, int32_t height, const uint8_t* pixels, uint8_t* row)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const size_t stride = static_cast<size_t>(width) * 4u;
    for (int32_t y = height - 1; y >= 0; --y) {
        const uint8_t* source = pixels + static_cast<size_t>(y) * stride;
        for (int32_t x = 0; x < width; ++x) {
            row[3 * x + 0] = source[4 * x + 0];
            row[3 * x + 1] = source[4 * x + 1];
            row[3 * x + 2] = source[4 * x + 2];
        }
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}
} // namespace

bool WritePng(const char* path, int32_t width, int32_t height, const uint8_t* pixels)
{
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr)
        return false;
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3u);
    bool written = WriteRows(file, width, height, pixels, row.data());
    written = std::fclose(file) == 0 && written;
    if (!written)
        std::remove(path);
    return written;
}
