#include "host/VideoInit.h"

#include "base/RunLog.h"
#include "base/SaverFrame.h"
#include "base/SettingsStore.h"
#include "gfx/DrawingState.h"
#include "gfx/FixedCamera.h"
#include "gfx/GlContext.h"
#include "gfx/OpenGL.h"
#include "gfx/RandomUnit.h"
#include "host/ProcessGlobals.h"
#include "scene/Scene.h"
#include "sound/SoundManager.h"

#include <ctime>

VideoStart SaverVideoStart(const SoundChoice& sound)
{
    VideoStart start;
    start.seed = static_cast<uint32_t>(std::time(nullptr));
    start.swapInterval = 1;
    Settings().Get("EnableVSync", start.swapInterval);
    start.sound = sound;
    return start;
}

SoundChoice StoredSoundChoice()
{
    int32_t enableSound = 1;
    Settings().Get("EnableSound", enableSound);
    SoundChoice choice;
    choice.wanted = enableSound != 0;
    choice.whyNot = "EnableSound is 0 in the settings";
    return choice;
}

int InitializeVideo(FrameState& frame, const VideoStart& start)
{
    RunLog& log = Log();
    SeedRandom(start.seed);

    frame.soundManager = new SoundManager(frame.window, start.sound);
    if (!frame.soundManager->IsValid()) {
        log.RecordAndKeep(kLogError, "SoundManager initialization is failed", kNoSoundDeviceMessage);
        return 1;
    }
    log.Record(kLogNotify, "SoundManager has been created");

    if (!GlCreateContext(frame))
        return 1;
    log.Record(kLogNotify, "Context for OpenGL has been created");
    GlMakeCurrent(frame);
    if (!GlLoadFunctions())
        return 1;
    log.Record(kLogNotify, "GLEW initialized");
    if (!GLEW_VERSION_2_0) {
        log.RecordAndKeep(kLogError, "Can not initialize OpenGL 2.0", "Sorry, this application requires OpenGL 2.0");
        return 1;
    }
    log.Record(kLogNotify, "OpenGL 2.0 is found");
    if (!GlHasSwapControl())
        return 1;
    log.Record(kLogNotify, "WGLEW_EXT_swap_control extension is found");

    // The state the context starts with; from here on the program keeps its own record of it.
    ReadDrawingState();
    ApplyFixedCamera();

    GlSetSwapInterval(frame, start.swapInterval);
    log.Record(kLogNotify, "VSYNC has been setted properly");
    log.Record(kLogNotify, "Video initialization has finished successfully");
    log.Record(kLogNotify, "Start scene initialization");

    if (InitializeScene(frame.soundManager) != 0)
        return 1;
    log.Record(kLogNotify, "Scene has been initialized successfully");
    return 0;
}

void ReleaseVideo(FrameState& frame)
{
    ReleaseScene();
    GlDeleteContext(frame);
    GlReleaseDeviceContext(frame);
    // Last: the scene's sounds hold buffers that the manager releases.
    delete frame.soundManager;
    frame.soundManager = nullptr;
}
