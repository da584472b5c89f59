// The board's worst frame of meshes and particles: the 64 tiles (plane and frame meshes,
// tiles_scene.h) and then two pair explosions and twenty path sparks in flight
// (particles_scene.h), drawn and presented through the engine, and beside it the same
// scene through a plain OpenGL program (same vertex counts, textures and blending). The
// ratio of the two is printed after the run. Run: build/bin/worst_frame_bench
#include "engine_window.h"
#include "particles_scene.h"
#include "tiles_scene.h"
#include "twin_report.h"

#include <benchmark/benchmark.h>
#include <vexa/graphics.h>

#include <cstdlib>

namespace {
static_assert(tiles::kWidth == particles::kWidth && tiles::kHeight == particles::kHeight,
              "one screen for both halves of the frame");

void BM_EngineWorstFrame(benchmark::State& state)
{
    EngineWindow window(tiles::kWidth, tiles::kHeight, 1);
    tiles::Engine board;
    particles::Engine bursts(1);
    window.Begin();
    board.Draw();
    bursts.Draw();
    window.End();
    window.Shot("worst_engine");
    twin::FrameClock clock;
    for (auto _ : state) {
        window.Begin();
        board.Draw();
        bursts.Draw();
        window.End();
    }
    clock.Finish(state);
}

void BM_PlainWorstFrame(benchmark::State& state)
{
    CBoardEffects effects;
    particles::StartWorstFrame(effects, 1);
    plain::Context gl(tiles::kWidth, tiles::kHeight);
    tiles::Plain board;
    particles::Plain bursts(effects);
    gl.Begin();
    board.Draw();
    bursts.Draw();
    gl.End();
    gl.Shot("worst_plain");
    twin::FrameClock clock;
    for (auto _ : state) {
        gl.Begin();
        board.Draw();
        bursts.Draw();
        gl.End();
    }
    glFinish();
    clock.Finish(state);
}
}  // namespace

BENCHMARK(BM_PlainWorstFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EngineWorstFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    // Headless unless told otherwise; the figures are llvmpipe's on a machine without a GPU.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    // Frames are timed as fast as they draw, not as often as a display would show them.
    vexa::platform::SetPresentPacing(false);
    return twin::RunTwins(argc, argv,
                          {{"worst board frame", "BM_EngineWorstFrame/real_time",
                            "BM_PlainWorstFrame/real_time"}});
}
