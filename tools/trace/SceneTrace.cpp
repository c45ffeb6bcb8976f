#include "tools/trace/SceneTrace.h"

#include "gfx/RandomUnit.h"
#include "scene/Creature.h"
#include "scene/FlowersHolder.h"
#include "scene/FormlessPlanet.h"
#include "scene/Scene.h"
#include "sound/SceneSoundClass.h"
#include "sound/WingsSoundClass.h"
#include "tools/trace/JsonLine.h"

namespace {
void WriteVector(JsonLine& line, const Vec3& v)
{
    line.Open('[');
    line.Number(v.x);
    line.Number(v.y);
    line.Number(v.z);
    line.Close(']');
}

void WriteWing(JsonLine& line, const Wing& wing)
{
    line.Open('{');
    line.Key("clock");
    line.Integer(wing.clock);
    line.Key("sparks");
    line.Integer(static_cast<int64_t>(wing.sparks.particles.size()));
    line.Key("lastEmission");
    line.Number(wing.sparks.lastEmission);
    line.Key("newest");
    if (wing.sparks.particles.empty())
        line.Null();
    else
        WriteVector(line, wing.sparks.particles.back().position);
    line.Close('}');
}
} // namespace

SceneTrace::SceneTrace(uint32_t seed) : state_(seed)
{
}

void SceneTrace::CountDraws()
{
    // The generator passes through every 32-bit state once before it repeats, so the number of
    // steps from the seed to the saver's state is the number of draws.
    const uint32_t target = RandomState();
    while (state_ != target) {
        state_ = NextRandomState(state_);
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

    const Creature* creature = scene.creature;
    if (creature != nullptr) {
        const FlightBehaviour& flight = creature->Behaviour();
        line.Key("flight");
        line.Open('{');
        line.Key("state");
        line.Integer(flight.state);
        line.Key("stateMs");
        line.Number(flight.stateMs);
        line.Key("target");
        WriteVector(line, flight.target);
        line.Close('}');
        const Ribbon& ribbon = creature->GetRibbon();
        line.Key("head");
        WriteVector(line, ribbon.nodes[0].position);
        line.Key("tail");
        WriteVector(line, ribbon.nodes[Ribbon::NumberOfNodes - 1].position);
        // The shortest and longest gap between neighbouring nodes: 0.05 when the body holds together.
        double shortest = 1e300, longest = 0.0;
        for (int k = 1; k < Ribbon::NumberOfNodes; ++k) {
            const double gap = (ribbon.nodes[k].position - ribbon.nodes[k - 1].position).Length();
            shortest = gap < shortest ? gap : shortest;
            longest = gap > longest ? gap : longest;
        }
        line.Key("spacing");
        line.Open('[');
        line.Number(shortest);
        line.Number(longest);
        line.Close(']');
    }

    if (scene.flowers != nullptr) {
        line.Key("flowers");
        line.Open('[');
        for (const Flower& flower : scene.flowers->flowers) {
            line.Open('{');
            line.Key("swing");
            line.Number(flower.swing);
            line.Key("swingClock");
            line.Integer(flower.swingClock);
            line.Key("top");
            WriteVector(line, flower.stalk.nodes[Ribbon::NumberOfNodes - 1].position);
            line.Close('}');
        }
        line.Close(']');
    }

    if (creature != nullptr) {
        line.Key("wings");
        line.Open('[');
        WriteWing(line, creature->FirstWing());
        WriteWing(line, creature->SecondWing());
        line.Close(']');

        const WingsSoundClass& wingSound = creature->WingSound();
        if (frame > 0)
            CountFlaps(wingSound.msSinceFlap, elapsed);
        else
            lastMsSinceFlap_ = wingSound.msSinceFlap;
        line.Key("wingSound");
        line.Open('{');
        line.Key("msSinceFlap");
        line.Integer(wingSound.msSinceFlap);
        line.Key("plays");
        line.Integer(static_cast<int64_t>(flaps_));
        line.Close('}');
    }
    line.Close('}');
}
