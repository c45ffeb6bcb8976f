// Sprites handed over as arrays must look exactly as they did one immediate-mode call at a time:
// the same corners, texture coordinates and colours, down to the last bit of every pixel.

#include "gl/GlTest.h"

#include "gfx/DrawingState.h"
#include "gfx/SpriteQuads.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
struct Sprite {
    double x, y, z, half, red, green, blue;
};

// Overlapping, one brighter than white, one below black, one half outside the view.
const Sprite kSprites[] = {
    {-0.3, -0.2, 0.0, 0.4, 0.9, 0.5, 0.1},
    {0.1, 0.05, 0.0, 0.35, 1.5, 0.3, 0.0},
    {0.2, -0.1, 0.0, 0.3, -0.02, -0.02, -0.02},
    {0.85, 0.7, 0.0, 0.25, 0.2, 0.6, 0.9},
};

void DrawOneCallAtATime()
{
    glBegin(GL_QUADS);
    for (const Sprite& s : kSprites) {
        glColor3d(s.red, s.green, s.blue);
        glTexCoord2d(0.0, 0.0);
        glVertex3d(s.x - s.half, s.y - s.half, s.z);
        glTexCoord2d(1.0, 0.0);
        glVertex3d(s.x + s.half, s.y - s.half, s.z);
        glTexCoord2d(1.0, 1.0);
        glVertex3d(s.x + s.half, s.y + s.half, s.z);
        glTexCoord2d(0.0, 1.0);
        glVertex3d(s.x - s.half, s.y + s.half, s.z);
    }
    glEnd();
}

// Additive sprites, their alpha from a texture that differs in every texel, so a corner with the
// wrong texture coordinate shows.
std::vector<unsigned char> Picture(void (*draw)())
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    float alpha[16];
    for (int i = 0; i < 16; ++i)
        alpha[i] = static_cast<float>(i) / 15.0f;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, 4, 4, 0, GL_ALPHA, GL_FLOAT, alpha);
    SetTextureEnvironment(GL_REPLACE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glClearColor(0.1f, 0.1f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    draw();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(1, &texture);
    return ReadView();
}
} // namespace

TEST(SpriteQuadsTest, DrawsTheSamePixelsAsImmediateModeAndLeavesTheArraysOff)
{
    UseIdentityView();
    const std::vector<unsigned char> expected = Picture(DrawOneCallAtATime);
    const std::vector<unsigned char> actual = Picture([] {
        static SpriteQuads quads;
        quads.Clear();
        for (const Sprite& s : kSprites)
            quads.Add(s.x, s.y, s.z, s.half, s.red, s.green, s.blue);
        quads.Draw();
    });
    // Not a blank picture twice: the sprites lit part of the view (the clear colour's blue is 51).
    EXPECT_TRUE(std::any_of(expected.begin(), expected.end(), [](unsigned char c) { return c > 51; }));
    EXPECT_TRUE(expected == actual) << "the arrays draw a different picture";
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
}
