// What the two EGL contexts (the Wayland client's and the settings window's preview) share.
#include "gfx/GlContext.h"
#include "gfx/OpenGL.h"

bool GlLoadFunctions()
{
    // GLEW as the distribution builds it loads every OpenGL entry point first and then looks for
    // a GLX display, which an EGL context does not have: that last step is the only one missing.
    const GLenum result = glewInit();
    return result == GLEW_OK || result == GLEW_ERROR_NO_GLX_DISPLAY;
}

bool GlHasSwapControl()
{
    return true;
}
