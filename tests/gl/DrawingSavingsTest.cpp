// The savings in drawing the horizon and the glow must leave every pixel as it was: each frame is
// drawn the plain way and the saving way from the same state, and the two pictures compared byte
// for byte. (On softpipe the savings are off and the two ways are the same draws.)

#include "gl/GlTest.h"

#include "gfx/DrawingState.h"
#include "gfx/FixedCamera.h"
#include "gfx/RandomUnit.h"
#include "gfx/SizedFramebuffer.h"
#include "gfx/ViewportCopy.h"
#include "scene/FormlessPlanet.h"
#include "scene/Horizon.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
std::vector<unsigned char> Frame(Horizon& horizon, FormlessPlanet* planet, bool plain)
{
    horizon.plainDrawing = plain;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    horizon.Draw();
    if (planet != nullptr) {
        planet->plainDrawing = plain;
        planet->Draw();
    }
    return ReadView();
}
} // namespace

TEST(DrawingSavings, TheHorizonPutBackIsTheHorizonDrawnInEveryEnvironmentAndView)
{
    ApplyFixedCamera();
    SetTextureEnvironment(GL_MODULATE);
    Horizon horizon;
    ASSERT_NE(horizon.texture, 0u);
    // The first frames darken the sky (the default environment), the later ones do not; then a
    // wider view, where the sky goes on mirrored, and the first view again.
    const struct {
        GLint environment;
        int width;
    } frames[] = {{GL_MODULATE, kViewWidth}, {GL_MODULATE, kViewWidth}, {GL_MODULATE, kViewWidth},
                  {GL_REPLACE, kViewWidth},  {GL_REPLACE, kViewWidth},  {GL_REPLACE, kViewWidth / 2},
                  {GL_REPLACE, kViewWidth / 2}, {GL_REPLACE, kViewWidth}, {GL_REPLACE, kViewWidth}};
    std::vector<std::vector<unsigned char>> pictures;
    for (const auto& frame : frames) {
        SetViewport(0, 0, frame.width, kViewHeight / 2);
        FitCameraToArea(frame.width, kViewHeight / 2);
        SetTextureEnvironment(frame.environment);
        const std::vector<unsigned char> plain = Frame(horizon, nullptr, true);
        const std::vector<unsigned char> saving = Frame(horizon, nullptr, false);
        EXPECT_TRUE(plain == saving) << "environment " << frame.environment << ", width " << frame.width;
        pictures.push_back(plain);
        GLint environment = 0;
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &environment);
        EXPECT_EQ(environment, frame.environment);
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    }
    // Each change shows in the picture: a copy kept across one would have put back the wrong one.
    EXPECT_TRUE(pictures[2] != pictures[3]);
    EXPECT_TRUE(pictures[4] != pictures[5]);
    EXPECT_TRUE(pictures[6] != pictures[7]);
    SetViewport(0, 0, kViewWidth, kViewHeight);
    ApplyFixedCamera();
}

namespace {
// A program that paints every fragment one colour.
GLuint FlatProgram()
{
    const char* text = "void main() { gl_FragColor = vec4(0.2, 0.6, 0.9, 1.0); }";
    const GLuint shader = glCreateShader(GL_FRAGMENT_SHADER);
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    const GLuint program = glCreateProgram();
    glAttachShader(program, shader);
    glLinkProgram(program);
    return program;
}
} // namespace

// Everything the horizon's picture depends on, each changed between two frames: the saving way must
// draw the picture again rather than put back the copy taken before the change. Each change shows
// in the picture, so a copy put back across it would differ from the direct draw.
TEST(DrawingSavings, TheHorizonIsDrawnAgainAfterAnyChangeOfWhatItsPictureDependsOn)
{
    if (!RendererWritesEveryBlend())
        GTEST_SKIP() << "the savings are off on this renderer";
    ApplyFixedCamera();
    const GLuint flat = FlatProgram();
    // Each setting leaves the picture as it is until its item is switched on.
    glBlendColor(0.5f, 0.5f, 0.5f, 0.5f);
    glBlendFunc(GL_CONSTANT_COLOR, GL_ZERO);
    glAlphaFunc(GL_LESS, 0.5f);
    glCullFace(GL_FRONT);
    SetSwitch(GL_CULL_FACE, false);
    glScissor(0, 0, kViewWidth / 3, kViewHeight / 3);
    const struct {
        const char* name;
        std::function<void(bool changed)> set;
    } items[] = {
        {"texture environment", [](bool changed) { SetTextureEnvironment(changed ? GL_REPLACE : GL_MODULATE); }},
        {"program", [flat](bool changed) { UseProgram(changed ? flat : 0); }},
        {"blend", [](bool changed) { SetSwitch(GL_BLEND, changed); }},
        {"alpha test", [](bool changed) { SetSwitch(GL_ALPHA_TEST, changed); }},
        {"lighting", [](bool changed) { SetSwitch(GL_LIGHTING, changed); }},
        {"fog", [](bool changed) { SetSwitch(GL_FOG, changed); }},
        {"cull face", [](bool changed) { SetSwitch(GL_CULL_FACE, changed); }},
        {"scissor test",
         [](bool changed) {
             // Outside the scissor box the buffer keeps what it had: red, where the horizon would be.
             if (changed) {
                 glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
                 glClear(GL_COLOR_BUFFER_BIT);
                 glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
             }
             SetSwitch(GL_SCISSOR_TEST, changed);
         }},
        {"viewport", [](bool changed) { SetViewport(0, 0, changed ? kViewWidth / 2 : kViewWidth, kViewHeight); }},
        {"camera aspect", [](bool changed) { FitCameraToArea(changed ? kViewWidth / 2 : kViewWidth, kViewHeight); }},
    };
    for (const auto& item : items) {
        // A copy taken under the change, then the change undone.
        Horizon horizon;
        item.set(true);
        Frame(horizon, nullptr, false);
        const std::vector<unsigned char> changed = Frame(horizon, nullptr, false);
        EXPECT_TRUE(changed == Frame(horizon, nullptr, true)) << item.name << ", changed";
        item.set(false);
        const std::vector<unsigned char> plain = Frame(horizon, nullptr, true);
        EXPECT_TRUE(plain != changed) << item.name << ": the change shows";
        EXPECT_TRUE(plain == Frame(horizon, nullptr, false)) << item.name;
    }
    glDeleteProgram(flat);
}

TEST(DrawingSavings, TheGlowIsTheSameWithTheLargeSpritesFirstAndFilteredLinearly)
{
    // Where the savings are off both ways are the same draws, and 3600 of them take minutes.
    if (!RendererWritesEveryBlend())
        GTEST_SKIP() << "the savings are off on this renderer";
    ApplyFixedCamera();
    // The environment the planet leaves behind, so that both ways of every frame, the first
    // included, start from the same one.
    SetTextureEnvironment(GL_REPLACE);
    Horizon horizon;
    FormlessPlanet planet;
    ASSERT_TRUE(planet.valid);
    // The core spans about 108 of the view's pixels and shows magnified; the later generations do
    // not. Several seeds, a long life of the glow each.
    size_t lit = 0;
    for (const uint32_t seed : {3u, 25u, 77u}) {
        SeedRandom(seed);
        for (int frame = 1; frame <= 600; ++frame) {
            planet.Update(frame % 3 == 0 ? 33 : 16);
            const std::vector<unsigned char> plain = Frame(horizon, &planet, true);
            const std::vector<unsigned char> saving = Frame(horizon, &planet, false);
            ASSERT_TRUE(plain == saving) << "seed " << seed << ", frame " << frame;
            if (frame == 600) {
                const std::vector<unsigned char> sky = Frame(horizon, nullptr, true);
                for (size_t i = 0; i < sky.size(); ++i)
                    lit += sky[i] != plain[i] ? 1u : 0u;
            }
        }
    }
    // The glow was there to compare: thousands of channels lit above the sky.
    EXPECT_GT(lit, 3000u);
    GLint minification = 0;
    glBindTexture(GL_TEXTURE_2D, planet.glowTexture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minification);
    EXPECT_EQ(minification, GL_NEAREST);
}

TEST(DrawingSavings, ACopyTheDriverRefusesIsNotTriedAgainUntilWhatItDependsOnChanges)
{
    if (!(GLEW_VERSION_3_0 || GLEW_ARB_framebuffer_object))
        GTEST_SKIP() << "no framebuffer objects";
    // A framebuffer with nothing attached, bound for reading: the driver refuses the blit from it.
    GLuint empty = 0;
    glGenFramebuffers(1, &empty);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, empty);
    ViewportCopy copy;
    ViewportCopyTag tag = CurrentViewportTag();
    copy.Take(tag);
    EXPECT_FALSE(copy.Holds(tag));
    // A second try would first clear the errors left before it: one left here must still be there.
    glEnable(GL_TEXTURE_ENV);
    copy.Take(tag);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_ENUM));
    EXPECT_FALSE(copy.Holds(tag));
    // Under another tag, with the window's buffer to read, it is taken.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    tag.state[0] = 1;
    copy.Take(tag);
    EXPECT_TRUE(copy.Holds(tag));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDeleteFramebuffers(1, &empty);
}

TEST(DrawingSavings, NoCopyIsKeptFromABufferThatHasNotYetTakenTheViewportsSize)
{
    if (!(GLEW_VERSION_3_0 || GLEW_ARB_framebuffer_object))
        GTEST_SKIP() << "no framebuffer objects";
    // A frame drawn for the new size into a window's buffer that still has the old one, after a
    // change of scale: a framebuffer of half the window's size stands in for that buffer.
    SizedFramebuffer old{GL_NEAREST, false};
    ASSERT_TRUE(old.Fit(kViewWidth / 2, kViewHeight / 2));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, old.framebuffer());
    ViewportCopy copy;
    const ViewportCopyTag tag = CurrentViewportTag();
    copy.Take(tag);
    EXPECT_FALSE(copy.Holds(tag));
    // Not a refusal: at the next frame, the buffer at the viewport's size, it is taken.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    copy.Take(tag);
    EXPECT_TRUE(copy.Holds(tag));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
