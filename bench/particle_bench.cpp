// The particles of the board's worst frame: two pair explosions and twenty path sparks in
// flight (400 sprites). BM_ParticleUpdateFlush times the CPU side of one particle update
// and flush through the engine (clear and present left out), at that load and at ten
// times it; the frame benchmarks draw and present the particle half of that frame through
// the engine and through a plain OpenGL program of this benchmark's own with the same
// 400 four-vertex strips, the same 32 x 32 texture and the same additive blending, so the
// Direct3D layer's cost reads as the ratio of the two, printed after the run.
// Run: build/bin/particle_bench
#include "engine_window.h"
#include "particles_scene.h"
#include "twin_report.h"

#include <benchmark/benchmark.h>
#include <vexa/graphics.h>

#include <cstdlib>

namespace {

void BM_ParticleUpdateFlush(benchmark::State& state)
{
    EngineWindow window(particles::kWidth, particles::kHeight, 1);
    particles::Engine scene(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        window.Begin();
        state.ResumeTiming();
        scene.Draw();
        state.PauseTiming();
        window.End();
        state.ResumeTiming();
    }
    state.counters["sprites"] = double(400 * state.range(0));
}

void BM_EngineParticleFrame(benchmark::State& state)
{
    EngineWindow window(particles::kWidth, particles::kHeight, 1);
    particles::Engine scene(1);
    twin::FrameClock clock;
    for (auto _ : state) {
        window.Begin();
        scene.Draw();
        window.End();
    }
    clock.Finish(state);
}

void BM_BaselineParticleFrame(benchmark::State& state)
{
    CBoardEffects bursts;
    particles::StartWorstFrame(bursts, 1);
    plain::Context gl(particles::kWidth, particles::kHeight);
    particles::Plain scene(bursts);
    state.counters["sprites"] = double(scene.centres.size());
    twin::FrameClock clock;
    for (auto _ : state) {
        gl.Begin();
        scene.Draw();
        gl.End();
    }
    glFinish();
    clock.Finish(state);
}
}  // namespace

BENCHMARK(BM_ParticleUpdateFlush)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BaselineParticleFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EngineParticleFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    // Headless unless told otherwise; the figures are llvmpipe's on a machine without a GPU.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    // Frames are timed as fast as they draw, not as often as a display would show them.
    vexa::platform::SetPresentPacing(false);
    return twin::RunTwins(argc, argv,
                          {{"particle frame", "BM_EngineParticleFrame/real_time",
                            "BM_BaselineParticleFrame/real_time"}});
}
