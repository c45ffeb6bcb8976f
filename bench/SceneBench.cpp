// The CPU cost of the scene's own work per frame, object by object, on a real context (llvmpipe
// under Xvfb here): the updates, the flight, the wings with their sparks, and the OpenGL
// submission of each object's drawing. Times are the calling thread's CPU time, so llvmpipe's
// rasteriser threads are left out. Run by bench/run.

#include "gfx/OpenGL.h"
#include "base/SaverFrame.h"
#include "gfx/RandomUnit.h"
#include "host/VideoInit.h"
#include "scene/Creature.h"
#include "scene/FlightBehaviour.h"
#include "scene/FlowersHolder.h"
#include "scene/FormlessPlanet.h"
#include "scene/Horizon.h"
#include "scene/Ribbon.h"
#include "scene/Wing.h"
#include "tools/trace/TraceWindow.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {
// The saver's start-up for the benchmarks: its sound manager serves the creatures made here.
FrameState g_bench;
constexpr int kFrame = 16;

// Times one call of `frame` per iteration, letting the rasteriser catch up outside the timed part
// every 64 frames, so queued work never piles up.
template <typename Frame>
void TimeDrawnFrames(benchmark::State& state, Frame frame)
{
    int64_t iteration = 0;
    for (auto _ : state) {
        frame();
        if (++iteration % 64 != 0)
            continue;
        state.PauseTiming();
        glFinish();
        state.ResumeTiming();
    }
}

void PlanetUpdateSteady(benchmark::State& state)
{
    FormlessPlanet planet;
    for (int i = 0; i < 3000; ++i)
        planet.Update(kFrame);
    for (auto _ : state)
        planet.Update(kFrame);
    state.counters["sprites"] = static_cast<double>(planet.particles.size());
}

void PlanetUpdateAtCap(benchmark::State& state)
{
    FormlessPlanet planet;
    // No time passes, so nothing ages out and births fill the planet to its cap.
    while (planet.particles.size() < FormlessPlanet::kMostParticles)
        planet.Update(0);
    for (auto _ : state)
        planet.Update(0);
    state.counters["sprites"] = static_cast<double>(planet.particles.size());
}

void FlowersUpdate(benchmark::State& state)
{
    FlowersHolder flowers;
    for (auto _ : state)
        flowers.Update(kFrame);
}

void FlightStep(benchmark::State& state)
{
    Ribbon ribbon;
    FlightBehaviour flight(&ribbon);
    for (auto _ : state)
        flight.Step(kFrame);
}

void WingsWithSparks(benchmark::State& state)
{
    Wing first, second;
    first.SetFrame(Vec3(0.0, 1.0, -2.0), Vec3(0.0, 0.0, -1.0), Vec3(1.0, 0.0, 0.0));
    second.SetFrame(Vec3(0.0, 1.0, -2.0), Vec3(0.0, 0.0, -1.0), Vec3(-1.0, 0.0, 0.0));
    const auto frame = [&] {
        for (Wing* wing : {&first, &second}) {
            wing->Advance(kFrame);
            wing->Draw();
        }
    };
    for (int i = 0; i < 600; ++i)
        frame();
    glFinish();
    TimeDrawnFrames(state, frame);
    state.counters["sparks"] = static_cast<double>(first.sparks.particles.size() + second.sparks.particles.size());
}

void HorizonDraw(benchmark::State& state)
{
    Horizon horizon;
    TimeDrawnFrames(state, [&] {
        horizon.Draw();
    });
}

void PlanetDraw(benchmark::State& state)
{
    FormlessPlanet planet;
    for (int i = 0; i < 3000; ++i)
        planet.Update(kFrame);
    TimeDrawnFrames(state, [&] {
        planet.Draw();
    });
}

void FlowersDraw(benchmark::State& state)
{
    FlowersHolder flowers;
    TimeDrawnFrames(state, [&] {
        flowers.Draw();
    });
}

void CreatureStep(benchmark::State& state)
{
    Creature creature(g_bench.soundManager);
    for (int i = 0; i < 600; ++i)
        creature.Step(kFrame);
    glFinish();
    TimeDrawnFrames(state, [&] {
        creature.Step(kFrame);
    });
}

// The whole cost of one object's drawing on llvmpipe, rasterising included: the drawing, then
// glFinish, in wall-clock time. This is what bounds the frame rate.
template <typename Draw>
void Rasterised(benchmark::State& state, Draw draw)
{
    glFinish();
    for (auto _ : state) {
        draw();
        glFinish();
    }
}

void HorizonRasterised(benchmark::State& state)
{
    Horizon horizon;
    Rasterised(state, [&] { horizon.Draw(); });
}

void PlanetRasterised(benchmark::State& state)
{
    FormlessPlanet planet;
    for (int i = 0; i < 3000; ++i)
        planet.Update(kFrame);
    Rasterised(state, [&] { planet.Draw(); });
}

void FlowersRasterised(benchmark::State& state)
{
    FlowersHolder flowers;
    Rasterised(state, [&] { flowers.Draw(); });
}

void CreatureRasterised(benchmark::State& state)
{
    Creature creature(g_bench.soundManager);
    for (int i = 0; i < 600; ++i)
        creature.Step(kFrame);
    Rasterised(state, [&] { creature.Step(kFrame); });
}
} // namespace

BENCHMARK(PlanetUpdateSteady);
BENCHMARK(PlanetUpdateAtCap);
BENCHMARK(FlowersUpdate);
BENCHMARK(FlightStep);
BENCHMARK(WingsWithSparks);
BENCHMARK(HorizonDraw);
BENCHMARK(PlanetDraw);
BENCHMARK(FlowersDraw);
BENCHMARK(CreatureStep);
BENCHMARK(HorizonRasterised)->UseRealTime();
BENCHMARK(PlanetRasterised)->UseRealTime();
BENCHMARK(FlowersRasterised)->UseRealTime();
BENCHMARK(CreatureRasterised)->UseRealTime();

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    PrepareTraceProcess();
    void* window = CreateTraceWindow(1024, 768);
    // The saver's own start-up gives the context, the camera, the render state and the sound
    // manager that the creature's wing sound needs; the objects timed here are made afresh.
    FrameState& frame = g_bench;
    frame.window = window;
    frame.displayName = TraceDisplayName();
    if (window == nullptr || InitializeVideo(frame, VideoStart{20261207u, 0, SoundChoice{false, "the benchmark plays none"}}) != 0) {
        std::fputs("scene-bench: the scene could not start\n", stderr);
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ReleaseVideo(frame);
    DestroyTraceWindow(window);
    return 0;
}
