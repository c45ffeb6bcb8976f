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
class SoundManager;

// The scene's objects for reading between frames: each is null until it has been built.
struct SceneView {
    const SceneSoundClass* ambientSound;
    const Creature* creature;
    const Horizon* horizon;
    const FlowersHolder* flowers;
    const FormlessPlanet* planet;
};

// The longest frame the scene takes in. A longer gap (a stall, or a machine that slept under the
// saver with its tick running on) would send the creature off as far as the gap was long and pile
// up sparks that need minutes to fade; a gap the tick makes negative (2^31 ms or more) would throw
// it off for good. Every object takes the same clamped frame.
constexpr int32_t kLongestFrameMs = 3000;
// The milliseconds one frame of `elapsed` counts for in the scene: 0 to kLongestFrameMs.
int32_t SceneFrameMs(int32_t elapsed);

// 0 when all five objects were built and are valid; 1 at the first that is not. The two scene
// sounds take their buffers from `sounds`, which outlives the scene.
int32_t InitializeScene(SoundManager* sounds);
// One frame of SceneFrameMs(clock.elapsed): ambient volume, clear, horizon, planet, flowers, creature.
void StepScene(const FrameClock& clock);
// Frees whatever was built; safe after a failed or missing InitializeScene.
void ReleaseScene();
// With `plain` the horizon is drawn every frame and every glow sprite in one draw, as the picture
// was made before the savings that must keep it: the replay program compares the two. The
// scene must be initialised.
void SetPlainDrawing(bool plain);
// The objects built so far.
SceneView CurrentScene();
