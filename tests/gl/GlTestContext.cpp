// The test context on X11.

#include "gl/GlTest.h"

#include "gfx/DrawingState.h"

// GoogleTest before Xlib, whose macros (None, Bool) would break its templates.
#include <gtest/gtest.h>

#include <GL/glx.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
struct Context {
    Display* display = nullptr;
    Window windows[2] = {0, 0};
    GLXContext context = nullptr;
};
Context g_test, g_multisampled;
XVisualInfo g_testVisual; // the test windows', for a second one made when first asked

Window ViewWindow(Display* display, XVisualInfo* visual)
{
    const Window root = RootWindow(display, DefaultScreen(display));
    XSetWindowAttributes attributes = {};
    attributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    const Window window = XCreateWindow(display, root, 0, 0, kViewWidth, kViewHeight, 0, visual->depth, InputOutput,
                                        visual->visual, CWColormap, &attributes);
    XMapWindow(display, window);
    XSync(display, False);
    return window;
}
} // namespace

bool UseMultisampledWindows(int draw, int read)
{
    Context& ms = g_multisampled;
    if (ms.context == nullptr) {
        int wanted[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8,
                        GLX_DEPTH_SIZE, 8, GLX_SAMPLE_BUFFERS, 1, GLX_SAMPLES, 4, None};
        XVisualInfo* visual = glXChooseVisual(g_test.display, DefaultScreen(g_test.display), wanted);
        if (visual == nullptr)
            return false;
        ms.display = g_test.display;
        ms.windows[0] = ViewWindow(ms.display, visual);
        ms.windows[1] = ViewWindow(ms.display, visual);
        ms.context = glXCreateContext(ms.display, visual, nullptr, True);
        XFree(visual);
        if (ms.context == nullptr)
            return false;
    }
    if (!glXMakeContextCurrent(ms.display, ms.windows[draw], ms.windows[read], ms.context))
        return false;
    ReadDrawingState();
    return true;
}

bool UseTestWindows(int draw, int read)
{
    if (g_test.windows[1] == 0)
        g_test.windows[1] = ViewWindow(g_test.display, &g_testVisual);
    if (!glXMakeContextCurrent(g_test.display, g_test.windows[draw], g_test.windows[read], g_test.context))
        return false;
    ReadDrawingState();
    return true;
}

void UseTestWindow()
{
    glXMakeContextCurrent(g_test.display, g_test.windows[0], g_test.windows[0], g_test.context);
    ReadDrawingState();
}

void CreateTestContext()
{
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr) << "the OpenGL tests need a display";
    int wanted[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8, GLX_DEPTH_SIZE, 8, None};
    XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), wanted);
    ASSERT_NE(visual, nullptr);
    const Window window = ViewWindow(display, visual);
    g_testVisual = *visual;
    const GLXContext context = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
    ASSERT_NE(context, nullptr);
    glXMakeCurrent(display, window, context);
    g_test.display = display;
    g_test.windows[0] = window;
    g_test.context = context;
    ASSERT_EQ(glewInit(), static_cast<GLenum>(GLEW_OK));
    ASSERT_TRUE(GLEW_VERSION_2_0);
    // A run meant for one rasteriser (Mesa's are chosen by GALLIUM_DRIVER) fails on another.
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    std::printf("OpenGL renderer: %s\n", renderer);
    const char* wantedRenderer = std::getenv("MORROWMERE_TEST_RENDERER");
    if (wantedRenderer != nullptr) {
        ASSERT_NE(std::strstr(renderer, wantedRenderer), nullptr) << "not the renderer " << wantedRenderer;
    }
    // The window and context live until the process ends.
}
