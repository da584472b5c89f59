// The board's worst frame through plain OpenGL: the 64 tiles of tiles_scene.h and then two
// pair explosions and twenty path sparks in flight (particles_scene.h). The engine's frame
// benchmarks time themselves beside it.
#ifndef VEXA_BENCH_PLAIN_WORST_FRAME_H
#define VEXA_BENCH_PLAIN_WORST_FRAME_H

#include "particles_scene.h"
#include "plain_gl.h"
#include "tiles_scene.h"
#include "twin_report.h"

#include <benchmark/benchmark.h>

static_assert(tiles::kWidth == particles::kWidth && tiles::kHeight == particles::kHeight,
              "one screen for both halves of the frame");

// With a shot name, one frame is drawn and kept under that name before the timing.
inline void RunPlainWorstFrame(benchmark::State& state, const char* shot)
{
    CBoardEffects effects;
    particles::StartWorstFrame(effects, 1);
    plain::Context gl(tiles::kWidth, tiles::kHeight);
    tiles::Plain board;
    particles::Plain bursts(effects);
    auto frame = [&] {
        gl.Begin();
        board.Draw();
        bursts.Draw();
        gl.End();
    };
    if (shot) {
        frame();
        gl.Shot(shot);
    }
    twin::FrameClock clock;
    for (auto _ : state)
        frame();
    glFinish();
    clock.Finish(state);
}

#endif
