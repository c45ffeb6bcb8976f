// The test context on X11.

#include "gl/GlTest.h"

// GoogleTest before Xlib, whose macros (None, Bool) would break its templates.
#include <gtest/gtest.h>

#include <GL/glx.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

void CreateTestContext()
{
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr) << "the OpenGL tests need a display";
    int wanted[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8, GLX_DEPTH_SIZE, 8, None};
    XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), wanted);
    ASSERT_NE(visual, nullptr);
    const Window root = RootWindow(display, DefaultScreen(display));
    XSetWindowAttributes attributes = {};
    attributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    const Window window = XCreateWindow(display, root, 0, 0, kViewWidth, kViewHeight, 0, visual->depth, InputOutput,
                                        visual->visual, CWColormap, &attributes);
    XMapWindow(display, window);
    XSync(display, False);
    const GLXContext context = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
    ASSERT_NE(context, nullptr);
    glXMakeCurrent(display, window, context);
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
