#pragma once
// The scene: five objects built in a fixed order, stepped in the drawing order every frame, and
// released at the end of the run. Render thread only, with the rendering context current.

#include <cstdint>

struct FrameClock;
class Creature;
class FlowersHolder;
class FormlessPlanet;
class Horizon;
class SceneSoundClass;

// The scene's objects for reading between frames: each is null until it has been built.
struct SceneView {
    const SceneSoundClass* ambientSound;
    const Creature* creature;
    const Horizon* horizon;
    const FlowersHolder* flowers;
    const FormlessPlanet* planet;
};

// 0 when all five objects were built and are valid; 1 at the first that is not.
int32_t InitializeScene();
// One frame: ambient volume, clear, horizon, planet, flowers, creature.
void StepScene(const FrameClock& clock);
// Frees whatever was built; safe after a failed or missing InitializeScene.
void ReleaseScene();
// The objects built so far.
SceneView CurrentScene();
