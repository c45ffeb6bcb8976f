// The frame-rate overlay, drawn with OpenGL into the finished frame just before the swap, so that
// it shows on every platform and compositor (text drawn with the window system's own calls onto a
// double-buffered OpenGL window is hidden again by the swap). White text on black, clipped to the
// top-left tenth of the screen.

#include "host/FrameRateCounter.h"

#include "gfx/OpenGL.h"
#include "host/SaverPlatform.h"

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

// The glyph as a bitmap for glBitmap: bottom row first, each row padded to one byte.
bool GlyphBitmap(char character, GLubyte (&bits)[kGlyphHeight])
{
    for (const Glyph& glyph : kGlyphs) {
        if (glyph.character != character)
            continue;
        for (int row = 0; row < kGlyphHeight; ++row) {
            GLubyte byte = 0;
            for (int x = 0; x < kGlyphWidth; ++x)
                if (glyph.rows[row * kGlyphWidth + x] == 'X')
                    byte |= static_cast<GLubyte>(0x80 >> x);
            bits[kGlyphHeight - 1 - row] = byte;
        }
        return true;
    }
    return false;
}
} // namespace

void DrawFrameRateOverlay(FrameRateCounter& counter, void* target)
{
    const char* text = counter.Measure(TickCount());
    int32_t screenWidth = 0, screenHeight = 0;
    ScreenSize(target, screenWidth, screenHeight);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int boxWidth = screenWidth / 10, boxHeight = screenHeight / 10;
    const int scale = screenWidth >= 2048 ? 2 : 1;
    const int length = static_cast<int>(std::strlen(text));
    const int top = viewport[1] + viewport[3];

    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_PIXEL_MODE_BIT | GL_SCISSOR_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glEnable(GL_SCISSOR_TEST);
    // The black stands behind the text only, as opaque text does; all of it inside the box.
    const int textWidth = length * kCellWidth * scale, textHeight = kCellHeight * scale;
    glScissor(viewport[0], top - (textHeight < boxHeight ? textHeight : boxHeight),
              textWidth < boxWidth ? textWidth : boxWidth, textHeight < boxHeight ? textHeight : boxHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glPixelZoom(static_cast<GLfloat>(scale), static_cast<GLfloat>(scale));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glColor3ub(255, 255, 255);
    for (int i = 0; i < length; ++i) {
        GLubyte bits[kGlyphHeight];
        if (!GlyphBitmap(text[i], bits))
            continue;
        glWindowPos2i(viewport[0] + (i * kCellWidth + 1) * scale, top - (kGlyphHeight + 2) * scale);
        glBitmap(kGlyphWidth, kGlyphHeight, 0, 0, 0, 0, bits);
    }
    glPopAttrib();
}
