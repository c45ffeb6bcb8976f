#include "scene/Scene.h"

#include "base/RunLog.h"
#include "base/SaverFrame.h"
#include "gfx/OpenGL.h"
#include "scene/Creature.h"
#include "scene/FlowersHolder.h"
#include "scene/FormlessPlanet.h"
#include "scene/Horizon.h"
#include "sound/SceneSoundClass.h"

#include <algorithm>

namespace {
// Each pointer is set right after its object is built and before its validity is tested, so a
// failed object is freed by ReleaseScene like the others.
struct SceneObjects {
    SceneSoundClass* ambientSound = nullptr;
    Creature* creature = nullptr;
    Horizon* horizon = nullptr;
    FlowersHolder* flowers = nullptr;
    FormlessPlanet* planet = nullptr;
} g_scene;
} // namespace

int32_t InitializeScene(SoundManager* sounds)
{
    RunLog& log = Log();
    g_scene.ambientSound = new SceneSoundClass(sounds);
    if (!g_scene.ambientSound->HoldsBuffer())
        return 1;
    g_scene.creature = new Creature(sounds);
    if (!g_scene.creature->IsValid())
        return 1;
    g_scene.horizon = new Horizon();
    if (g_scene.horizon->texture == 0) {
        log.RecordAndKeep(kLogError, "Horizon initialization is failed", "Error of initialization");
        return 1;
    }
    g_scene.flowers = new FlowersHolder();
    if (!g_scene.flowers->valid) {
        log.RecordAndKeep(kLogError, "FlowersHolder initialization is failed", "Error of initialization");
        return 1;
    }
    g_scene.planet = new FormlessPlanet();
    if (!g_scene.planet->valid) {
        log.RecordAndKeep(kLogError, "FormlessPlanet initialization is failed", "Error of initialization");
        return 1;
    }
    return 0;
}

int32_t SceneFrameMs(int32_t elapsed)
{
    return std::clamp(elapsed, int32_t{0}, kLongestFrameMs);
}

void StepScene(const FrameClock& clock)
{
    const int32_t frameMs = SceneFrameMs(clock.elapsed);
    g_scene.ambientSound->Update(frameMs);
    // The clear colour and depth are never set: black and 1.0.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    g_scene.horizon->Draw();
    g_scene.planet->Update(frameMs);
    g_scene.planet->Draw();
    g_scene.flowers->Update(frameMs);
    g_scene.flowers->Draw();
    g_scene.creature->Step(frameMs);
}

void ReleaseScene()
{
    delete g_scene.horizon;
    delete g_scene.flowers;
    delete g_scene.planet;
    // Its buffer belongs to the sound manager, which is destroyed later in the teardown.
    delete g_scene.ambientSound;
    delete g_scene.creature;
    g_scene = SceneObjects();
}

void SetPlainDrawing(bool plain)
{
    g_scene.horizon->plainDrawing = plain;
    g_scene.planet->plainDrawing = plain;
}

SceneView CurrentScene()
{
    return SceneView{g_scene.ambientSound, g_scene.creature, g_scene.horizon, g_scene.flowers, g_scene.planet};
}
