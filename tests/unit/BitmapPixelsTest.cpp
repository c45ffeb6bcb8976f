#include <gtest/gtest.h>

#include "gfx/BitmapPixels.h"

#include <cstdint>
#include <vector>

namespace {
void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A 24-bit bitmap resource (info header, no file header) of 3 x 2 pixels. Rows are 9 bytes of
// pixels and 3 of padding; pixel (x, y) of the picture (y = 0 at the top) is blue 10y + x,
// green 100 + x, red 200 + y.
std::vector<uint8_t> SmallBitmap(bool topDown)
{
    std::vector<uint8_t> bytes(40 + 12 * 2, 0xEE);
    std::fill(bytes.begin(), bytes.begin() + 40, 0);
    Put32(bytes, 0, 40);
    Put32(bytes, 4, 3);
    Put32(bytes, 8, topDown ? static_cast<uint32_t>(-2) : 2);
    bytes[12] = 1;  // planes
    bytes[14] = 24; // bits per pixel
    for (int y = 0; y < 2; ++y) {
        const int storedRow = topDown ? y : 1 - y;
        for (int x = 0; x < 3; ++x) {
            uint8_t* p = &bytes[40 + storedRow * 12 + x * 3];
            p[0] = static_cast<uint8_t>(10 * y + x);
            p[1] = static_cast<uint8_t>(100 + x);
            p[2] = static_cast<uint8_t>(200 + y);
        }
    }
    return bytes;
}

const std::vector<uint8_t> kExpected = {
    0, 100, 200, 0, 1, 101, 200, 0, 2, 102, 200, 0,   // top row
    10, 100, 201, 0, 11, 101, 201, 0, 12, 102, 201, 0, // bottom row
};
} // namespace

TEST(BitmapPixels, TopRowFirstInBlueGreenRedZeroWithoutPadding)
{
    for (bool topDown : {false, true}) {
        const std::vector<uint8_t> bytes = SmallBitmap(topDown);
        std::vector<uint8_t> pixels;
        ASSERT_TRUE(DecodeBitmapPixels(bytes.data(), bytes.size(), 3, 2, pixels)) << topDown;
        EXPECT_EQ(kExpected, pixels) << topDown;
    }
}

TEST(BitmapPixels, APaletteBeforeTheBitsIsSkipped)
{
    std::vector<uint8_t> bytes = SmallBitmap(false);
    Put32(bytes, 32, 2); // two palette entries
    bytes.insert(bytes.begin() + 40, 8, 0x77);
    std::vector<uint8_t> pixels;
    ASSERT_TRUE(DecodeBitmapPixels(bytes.data(), bytes.size(), 3, 2, pixels));
    EXPECT_EQ(kExpected, pixels);
}

TEST(BitmapPixels, RejectsEveryBadHeaderAndEveryShortBufferWithoutTouchingTheOutput)
{
    struct Case {
        const char* what;
        size_t offset;
        uint32_t value;
    };
    const Case lies[] = {
        {"header size below 40", 0, 12},   {"header size past the end", 0, 65},
        {"other width", 4, 4},             {"other height", 8, 3},
        {"zero planes", 12, 0},            {"32 bits per pixel", 14, 32},
        {"8 bits per pixel", 14, 8},       {"run-length compression", 16, 1},
        {"bit fields", 16, 3},             {"palette past the end", 32, 7},
        {"palette count that overflows", 32, 0xFFFFFFFFu},
    };
    const std::vector<uint8_t> sentinel = {42};
    for (const Case& lie : lies) {
        std::vector<uint8_t> bytes = SmallBitmap(false);
        if (lie.offset == 12 || lie.offset == 14) {
            bytes[lie.offset] = static_cast<uint8_t>(lie.value);
            bytes[lie.offset + 1] = 0;
        } else {
            Put32(bytes, lie.offset, lie.value);
        }
        std::vector<uint8_t> pixels = sentinel;
        EXPECT_FALSE(DecodeBitmapPixels(bytes.data(), bytes.size(), 3, 2, pixels)) << lie.what;
        EXPECT_EQ(sentinel, pixels) << lie.what;
    }

    // Every truncation of a good bitmap, down to nothing: a copy of exactly that size, so that a
    // read past its end is caught by the sanitizers.
    const std::vector<uint8_t> good = SmallBitmap(false);
    for (size_t size = 0; size < good.size(); ++size) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(size));
        std::vector<uint8_t> pixels = sentinel;
        EXPECT_FALSE(DecodeBitmapPixels(cut.data(), cut.size(), 3, 2, pixels)) << size;
        EXPECT_EQ(sentinel, pixels);
    }
    std::vector<uint8_t> pixels;
    EXPECT_FALSE(DecodeBitmapPixels(nullptr, 100, 3, 2, pixels));
    EXPECT_FALSE(DecodeBitmapPixels(good.data(), good.size(), 0, 2, pixels));
    EXPECT_FALSE(DecodeBitmapPixels(good.data(), good.size(), -3, -2, pixels));
}
