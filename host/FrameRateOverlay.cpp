// The frame-rate overlay, drawn with OpenGL into the finished frame just before the swap, so that
// it shows on every platform and compositor (text drawn with the window system's own calls onto a
// double-buffered OpenGL window is hidden again by the swap).

#include "host/FrameRateOverlay.h"

#include "gfx/DrawingState.h"
#include "gfx/OpenGL.h"

#include <algorithm>
#include <cstring>

namespace {
// 5 x 7 glyphs, top row first, for every character the overlay text can hold.
struct Glyph {
    char character;
    const char* rows;
};
const Glyph kGlyphs[] = {
    {'0', ".XXX.X...XX..XXX.X.XXX..XX...X.XXX."}, {'1', "..X...XX....X....X....X....X...XXX."},
    {'2', ".XXX.X...X....X...X...X...X....XXXXX"}, {'3', "XXXXX...X...X......X....XX...X.XXX."},
    {'4', "...X...XX..X.X.X..X.XXXXX...X....X."}, {'5', "XXXXXX....XXXX.....X....XX...X.XXX."},
    {'6', "..XX..X...X....XXXX.X...XX...X.XXX."}, {'7', "XXXXX....X...X...X...X....X....X...."},
    {'8', ".XXX.X...XX...X.XXX.X...XX...X.XXX."}, {'9', ".XXX.X...XX...X.XXXX....X...X..XX..."},
    {'F', "XXXXXX....X....XXXX.X....X....X...."}, {'P', "XXXX.X...XX...XXXXX.X....X....X...."},
    {'S', ".XXXXX....X.....XXX.....X....XXXXX."}, {'e', "..........XXX.X...XXXXXXX.....XXX.."},
    {'.', "..............................XX...XX"}, {':', ".....XX...XX........XX...XX......."},
    {'-', "...............XXXX................"}, {'+', ".......X....X..XXXXX..X....X......."},
};
constexpr int kGlyphWidth = 5, kGlyphHeight = 7, kCellWidth = 7, kCellHeight = 10;
constexpr int kMaxScale = 8;
constexpr int kMaxRowBytes = (kGlyphWidth * kMaxScale + 7) / 8;

// The glyph grown `scale` times as a bitmap for glBitmap: bottom row first, rows padded to whole
// bytes. False for a character without a glyph.
bool GlyphBitmap(char character, int scale, GLubyte (&bits)[kGlyphHeight * kMaxScale][kMaxRowBytes])
{
    for (const Glyph& glyph : kGlyphs) {
        if (glyph.character != character)
            continue;
        std::memset(bits, 0, sizeof bits);
        for (int row = 0; row < kGlyphHeight * scale; ++row) {
            const char* pixels = glyph.rows + (kGlyphHeight - 1 - row / scale) * kGlyphWidth;
            for (int x = 0; x < kGlyphWidth * scale; ++x)
                if (pixels[x / scale] == 'X')
                    bits[row][x / 8] |= static_cast<GLubyte>(0x80 >> (x % 8));
        }
        return true;
    }
    return false;
}
} // namespace

void DrawFrameRateOverlay(const char* text, int32_t screenWidth, int32_t screenHeight)
{
    const GLint* viewport = Drawing().viewport;
    const int boxWidth = screenWidth / 10, boxHeight = screenHeight / 10;
    const int scale = std::clamp(screenWidth / 1024, 1, kMaxScale);
    const int length = static_cast<int>(std::strlen(text));
    const int top = viewport[1] + viewport[3];

    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_SCISSOR_BIT | GL_COLOR_BUFFER_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glEnable(GL_SCISSOR_TEST);
    // The black stands behind the text only, as opaque text does; all of it inside the box.
    const int textWidth = std::min(length * kCellWidth * scale, boxWidth);
    const int textHeight = std::min(kCellHeight * scale, boxHeight);
    glScissor(viewport[0], top - textHeight, textWidth, textHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, kMaxRowBytes * 8);
    glColor3ub(255, 255, 255);
    for (int i = 0; i < length; ++i) {
        GLubyte bits[kGlyphHeight * kMaxScale][kMaxRowBytes];
        if (!GlyphBitmap(text[i], scale, bits))
            continue;
        glWindowPos2i(viewport[0] + (i * kCellWidth + 1) * scale, top - (kGlyphHeight + 2) * scale);
        glBitmap(kGlyphWidth * scale, kGlyphHeight * scale, 0, 0, 0, 0, &bits[0][0]);
    }
    glPopClientAttrib();
    glPopAttrib();
}
