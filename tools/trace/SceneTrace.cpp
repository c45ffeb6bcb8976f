#include "tools/trace/SceneTrace.h"

#include "gfx/RandomUnit.h"
#include "scene/Creature.h"
#include "scene/FormlessPlanet.h"
#include "scene/Scene.h"
#include "sound/SceneSoundClass.h"
#include "sound/WingsSoundClass.h"
#include "tools/trace/JsonLine.h"

SceneTrace::SceneTrace(uint32_t seed) : state_(seed)
{
}

void SceneTrace::CountDraws()
{
    // The generator passes through every 32-bit state once before it repeats, so the number of
    // steps from the seed to the saver's state is the number of draws.
    const uint32_t target = RandomState();
    while (state_ != target) {
        state_ = state_ * 214013u + 2531011u;
        ++draws_;
    }
}

void SceneTrace::CountFlaps(uint32_t msSinceFlap, int32_t elapsed)
{
    // The wing sound is stepped once a frame: msSinceFlap grows by the frame's elapsed time, or
    // restarts from 0 before that when a flap plays. A flap needs more than 3000 ms summed, so
    // the two outcomes never give the same value.
    if (msSinceFlap != lastMsSinceFlap_ + static_cast<uint32_t>(elapsed))
        ++flaps_;
    lastMsSinceFlap_ = msSinceFlap;
}

void SceneTrace::Write(JsonLine& line, uint64_t frame, int32_t elapsed)
{
    CountDraws();
    const SceneView scene = CurrentScene();
    line.Reset();
    line.Open('{');
    line.Key("frame");
    line.Integer(static_cast<int64_t>(frame));
    line.Key("elapsed");
    line.Integer(elapsed);
    line.Key("draws");
    line.Integer(static_cast<int64_t>(draws_));

    if (scene.ambientSound != nullptr) {
        line.Key("ambient");
        line.Open('{');
        line.Key("volume");
        line.Integer(scene.ambientSound->volume);
        line.Key("target");
        line.Integer(scene.ambientSound->targetVolume);
        line.Close('}');
    }

    if (scene.planet != nullptr) {
        line.Key("planet");
        line.Open('{');
        line.Key("count");
        line.Integer(static_cast<int64_t>(scene.planet->particles.size()));
        line.Key("last");
        if (scene.planet->particles.empty()) {
            line.Null();
        } else {
            const PlanetParticle& last = scene.planet->particles.back();
            line.Open('[');
            line.Number(last.age);
            line.Number(last.lifetime);
            line.Number(last.size);
            line.Number(last.position.x);
            line.Number(last.position.y);
            line.Number(last.position.z);
            line.Close(']');
        }
        line.Close('}');
    }

    const WingsSoundClass* wingSound = scene.creature != nullptr ? scene.creature->WingSound() : nullptr;
    if (wingSound != nullptr) {
        if (frame > 0)
            CountFlaps(wingSound->msSinceFlap, elapsed);
        else
            lastMsSinceFlap_ = wingSound->msSinceFlap;
        line.Key("wingSound");
        line.Open('{');
        line.Key("msSinceFlap");
        line.Integer(wingSound->msSinceFlap);
        line.Key("plays");
        line.Integer(static_cast<int64_t>(flaps_));
        line.Close('}');
    }
    line.Close('}');
}
