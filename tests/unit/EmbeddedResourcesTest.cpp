#include <gtest/gtest.h>

#include "TempFolder.h"
#include "gfx/BitmapPixels.h"
#include "gfx/ResourceLookup.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {
uint32_t Read32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

ResourceBytes Find(ResourceType type, int id)
{
    ResourceBytes bytes;
    EXPECT_TRUE(FindResourceBytes(type, id, bytes)) << id;
    return bytes;
}

std::vector<int16_t> Samples(int id)
{
    const ResourceBytes bytes = Find(ResourceType::SoundSamples, id);
    std::vector<int16_t> samples(bytes.size / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(bytes.data[2 * i] | (bytes.data[2 * i + 1] << 8));
    return samples;
}
} // namespace

TEST(EmbeddedResources, EveryPieceIsThereWithItsSize)
{
    EXPECT_EQ(40u + 512 * 256 * 3, Find(ResourceType::Bitmap, 123).size);
    EXPECT_EQ(40u + 128 * 128 * 3, Find(ResourceType::Bitmap, 130).size);
    // 8-bit pictures: the header, 256 palette entries, rows padded to 4 bytes.
    EXPECT_EQ(40u + 256 * 4 + 152 * 97, Find(ResourceType::Bitmap, 116).size);
    EXPECT_EQ(40u + 256 * 4 + 100 * 221, Find(ResourceType::Bitmap, 120).size);
    EXPECT_EQ(88200u, Find(ResourceType::SoundSamples, 132).size);
    EXPECT_EQ(105512u, Find(ResourceType::SoundSamples, 133).size);
}

TEST(EmbeddedResources, MissingOnesAreNotFoundAndLeaveTheResultAlone)
{
    const uint8_t marker = 0;
    ResourceBytes bytes;
    bytes.data = &marker;
    bytes.size = 7;
    EXPECT_FALSE(FindResourceBytes(ResourceType::Bitmap, 999, bytes));
    EXPECT_FALSE(FindResourceBytes(ResourceType::SoundSamples, 123, bytes));
    EXPECT_FALSE(FindResourceBytes(ResourceType::Bitmap, 132, bytes));
    EXPECT_FALSE(FindResourceBytes(ResourceType::Shaders, 0, bytes));
    EXPECT_EQ(&marker, bytes.data);
    EXPECT_EQ(7u, bytes.size);
    std::vector<uint8_t> pixels;
    EXPECT_FALSE(ReadBitmapResource(999, 512, 256, pixels));
    // The right bitmap asked for with the wrong size is refused, not misread.
    EXPECT_FALSE(ReadBitmapResource(123, 256, 512, pixels));
    // The dialog's pictures have a palette: not a texture source.
    EXPECT_FALSE(ReadBitmapResource(116, 150, 97, pixels));
}

TEST(EmbeddedResources, DialogPicturesAreEightBitWithAFullPalette)
{
    struct Picture {
        int id, width, height;
    };
    for (const Picture& picture : {Picture{116, 150, 97}, Picture{120, 100, 221}}) {
        const ResourceBytes bytes = Find(ResourceType::Bitmap, picture.id);
        ASSERT_GE(bytes.size, 40u);
        EXPECT_EQ(40u, Read32(bytes.data));
        EXPECT_EQ(static_cast<uint32_t>(picture.width), Read32(bytes.data + 4));
        EXPECT_EQ(static_cast<uint32_t>(picture.height), Read32(bytes.data + 8));
        EXPECT_EQ(1, bytes.data[12]);
        EXPECT_EQ(8, bytes.data[14]);
        EXPECT_EQ(0u, Read32(bytes.data + 16));
        EXPECT_EQ(256u, Read32(bytes.data + 32));
    }
}

TEST(EmbeddedResources, SkyAndPlanetDecodeAndTheSkysGroundIsExactlyTheBandsGrey)
{
    std::vector<uint8_t> sky;
    ASSERT_TRUE(ReadBitmapResource(123, 512, 256, sky));
    ASSERT_EQ(512u * 256 * 4, sky.size());
    // The lower rows continue into the grey band drawn below the picture.
    for (size_t row = 216; row < 256; ++row)
        for (size_t i = row * 512 * 4; i < (row + 1) * 512 * 4; i += 4)
            ASSERT_TRUE(sky[i] == 126 && sky[i + 1] == 126 && sky[i + 2] == 126) << "row " << row;
    // Dusk: the top is a dark night blue, the glow above the hills is bright and warm.
    EXPECT_LT(sky[0] + sky[1] + sky[2], 3 * 60);
    EXPECT_GT(sky[0], sky[2]);
    const size_t glow = (130 * 512 + 340) * 4;
    EXPECT_GT(sky[glow + 2], 180);
    EXPECT_GT(sky[glow + 2], sky[glow]);

    std::vector<uint8_t> planet;
    ASSERT_TRUE(ReadBitmapResource(130, 128, 128, planet));
    ASSERT_EQ(128u * 128 * 4, planet.size());
    // Dark corners, a lit disc.
    EXPECT_LT(planet[0] + planet[1] + planet[2], 60);
    const size_t centre = (64 * 128 + 64) * 4;
    EXPECT_GT(planet[centre] + planet[centre + 1] + planet[centre + 2], 150);

    for (const std::vector<uint8_t>* pixels : {&sky, &planet})
        for (size_t i = 3; i < pixels->size(); i += 4)
            ASSERT_EQ(0, (*pixels)[i]);
}

TEST(EmbeddedResources, AmbientLoopsWithoutAClick)
{
    const std::vector<int16_t> ambient = Samples(132);
    ASSERT_EQ(44100u, ambient.size());
    int largestStep = 0, peak = 0;
    for (size_t i = 0; i + 1 < ambient.size(); ++i) {
        largestStep = std::max(largestStep, std::abs(ambient[i + 1] - ambient[i]));
        peak = std::max(peak, std::abs(static_cast<int>(ambient[i])));
    }
    EXPECT_GT(peak, 4000); // audible
    // Across the seam the signal moves no more than it does anywhere inside the loop.
    EXPECT_LE(std::abs(ambient.front() - ambient.back()), largestStep);
}

TEST(EmbeddedResources, FlapStartsQuicklyAndFadesToSilence)
{
    const std::vector<int16_t> flap = Samples(133);
    ASSERT_EQ(52756u, flap.size());
    const auto loudest = std::max_element(flap.begin(), flap.end(),
                                          [](int16_t a, int16_t b) { return std::abs(a) < std::abs(b); });
    const int peak = std::abs(*loudest);
    EXPECT_GT(peak, 16000);
    EXPECT_LT(loudest - flap.begin(), 44100 / 10); // the loudest moment within 100 ms
    EXPECT_LT(std::abs(flap.front()), peak / 20);  // no click at the start
    for (size_t i = flap.size() - 441; i < flap.size(); ++i)
        ASSERT_LE(std::abs(flap[i]), peak / 100) << i; // the last 10 ms are near silence
    EXPECT_EQ(0, flap.back());
}

// The bytes in the executable are the committed files (bitmaps without their 14-byte file header).
TEST(EmbeddedResources, ShaderTextsHaveTheirResourceForm)
{
    const std::pair<int, const char*> shaders[] = {
        {110, "creature-wrinkles.frag"}, {111, "creature-scale.frag"}, {112, "creature-eyes.frag"},
        {113, "creature-horns.frag"},    {114, "creature-ribbon.vert"}, {124, "stalk.frag"},
        {125, "stalk-ribbon.vert"},      {128, "fruit.frag"},           {129, "fruit.vert"},
    };
    for (const auto& [id, name] : shaders) {
        ResourceBytes bytes;
        ASSERT_TRUE(FindResourceBytes(ResourceType::Shaders, id, bytes)) << id;
        ASSERT_GT(bytes.size, 0u);
        ASSERT_EQ(bytes.data[bytes.size - 1], 0) << id << " ends with its NUL";
        const std::string text(reinterpret_cast<const char*>(bytes.data), bytes.size - 1);
        EXPECT_EQ(text.find('\0'), std::string::npos) << id << " has one NUL only";
        EXPECT_EQ(text.rfind("/*\r\n", 0), 0u) << id << " opens with its block comment";
        EXPECT_NE(text.find("\r\n * 2026-"), std::string::npos) << id << " carries its date";
        const std::string closing = "// '\\0' has to be below\r\n";
        ASSERT_GE(text.size(), closing.size());
        EXPECT_EQ(text.substr(text.size() - closing.size()), closing) << id;
        size_t bareLineFeeds = 0;
        for (size_t i = 1; i < text.size(); ++i)
            bareLineFeeds += text[i] == '\n' && text[i - 1] != '\r';
        EXPECT_EQ(bareLineFeeds, 0u) << id;
        EXPECT_EQ(text.find("#version"), std::string::npos) << id << " is for the default GLSL of OpenGL 2.0";
        std::string withoutReturns = text;
        withoutReturns.erase(std::remove(withoutReturns.begin(), withoutReturns.end(), '\r'), withoutReturns.end());
        EXPECT_EQ(withoutReturns,
                  ReadFileBytes(std::string(MORROWMERE_SOURCE_DIR "/resources/shaders/") + name + ".glsl"))
            << id << " is the committed source";
    }
}

TEST(EmbeddedResources, BytesAreTheCommittedFiles)
{
    struct Piece {
        ResourceType type;
        int id;
        const char* file;
        size_t skip;
    };
    const Piece pieces[] = {
        {ResourceType::Bitmap, 123, "bitmaps/sky-123.bmp", 14},
        {ResourceType::Bitmap, 130, "bitmaps/planet-130.bmp", 14},
        {ResourceType::Bitmap, 116, "bitmaps/dialog-logo-116.bmp", 14},
        {ResourceType::Bitmap, 120, "bitmaps/dialog-side-120.bmp", 14},
        {ResourceType::SoundSamples, 132, "sounds/ambient-132.raw", 0},
        {ResourceType::SoundSamples, 133, "sounds/flap-133.raw", 0},
    };
    for (const Piece& piece : pieces) {
        const std::string file = ReadFileBytes(std::string(MORROWMERE_SOURCE_DIR "/resources/") + piece.file);
        ASSERT_GT(file.size(), piece.skip) << piece.file;
        const ResourceBytes bytes = Find(piece.type, piece.id);
        EXPECT_EQ(file.substr(piece.skip), std::string(reinterpret_cast<const char*>(bytes.data), bytes.size))
            << piece.file;
    }
}
