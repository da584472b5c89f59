// Frames per second of the board's tiles: 64 tiles, each a picture plane and a frame
// around it, loaded from .x files by CMeshModel and drawn through the board's camera with
// the tile picture substituted into slot 0, as the game draws them. Beside them, a minimal
// OpenGL program of this benchmark's own draws the same meshes (same vertex and index
// counts, textures and states) with one draw per mesh, so the cost of the engine's mesh
// path reads as the ratio of the two, printed after the run. Run: build/bin/mesh_tiles_bench
#include "engine_window.h"
#include "tiles_scene.h"
#include "twin_report.h"

#include <benchmark/benchmark.h>
#include <vexa/graphics.h>

#include <cstdlib>

namespace {

void BM_EngineTiles(benchmark::State& state)
{
    EngineWindow window(tiles::kWidth, tiles::kHeight, 0);
    tiles::Engine scene;
    twin::FrameClock clock;
    for (auto _ : state) {
        window.Begin();
        scene.Draw();
        window.End();
    }
    clock.Finish(state);
}

void BM_BaselineTiles(benchmark::State& state)
{
    plain::Context gl(tiles::kWidth, tiles::kHeight);
    tiles::Plain scene;
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

BENCHMARK(BM_BaselineTiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EngineTiles)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    // Headless unless told otherwise; the figures are llvmpipe's on a machine without a GPU.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    // Frames are timed as fast as they draw, not as often as a display would show them.
    vexa::platform::SetPresentPacing(false);
    return twin::RunTwins(
        argc, argv, {{"64 tiles", "BM_EngineTiles/real_time", "BM_BaselineTiles/real_time"}});
}
