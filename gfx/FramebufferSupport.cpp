#include "gfx/FramebufferSupport.h"

namespace {
// A driver with only the EXT forms: their entry points take the core names that the saver calls.
bool ServeExtensionUnderCoreNames()
{
    if (!(GLEW_EXT_framebuffer_object && GLEW_EXT_framebuffer_blit))
        return false;
    __glewGenFramebuffers = __glewGenFramebuffersEXT;
    __glewDeleteFramebuffers = __glewDeleteFramebuffersEXT;
    __glewBindFramebuffer = __glewBindFramebufferEXT;
    __glewCheckFramebufferStatus = __glewCheckFramebufferStatusEXT;
    __glewFramebufferTexture2D = __glewFramebufferTexture2DEXT;
    __glewFramebufferRenderbuffer = __glewFramebufferRenderbufferEXT;
    __glewGenRenderbuffers = __glewGenRenderbuffersEXT;
    __glewDeleteRenderbuffers = __glewDeleteRenderbuffersEXT;
    __glewBindRenderbuffer = __glewBindRenderbufferEXT;
    __glewRenderbufferStorage = __glewRenderbufferStorageEXT;
    __glewBlitFramebuffer = __glewBlitFramebufferEXT;
    return glGenFramebuffers != nullptr && glBlitFramebuffer != nullptr;
}
} // namespace

bool FramebuffersOffered()
{
    if (GLEW_VERSION_3_0 || GLEW_ARB_framebuffer_object)
        return true;
    // GLEW's flags are the process's, set once the entry points are loaded.
    static const bool extension = ServeExtensionUnderCoreNames();
    return extension;
}
