// The board's searches at the sizes a round meets: the dead-board test after every link,
// and a full deal at round start and on every shuffle.
#include "BoardLayout.h"
#include "PackFolder.h"
#include "RecordingSeams.h"

#include <GameBoard.h>
#include <TilePack.h>

#include <benchmark/benchmark.h>

#include <stdlib.h>

namespace {

struct BenchBoard {
    PackFolder folder;
    CTilePack pack;
    RecordingSeams seams;
    CGameBoard board{EDITION_WINDOWED, seams.Seams()};

    explicit BenchBoard(int level)
    {
        folder.WriteList(60);
        pack.Load(folder.path.c_str(), nullptr);
        srand(1);
        board.SetDifficulty(level, &pack);
        board.StartRound();
    }
};

void BM_HasAnyMoveFullBoard(benchmark::State& state)
{
    BenchBoard b(3);
    for (auto _ : state) {
        benchmark::DoNotOptimize(b.board.HasAnyMove());
        b.board.ClearMarks();
    }
}
BENCHMARK(BM_HasAnyMoveFullBoard);

// Four tiles in a square, paired diagonally: no move, so every pair is tried.
void BM_HasAnyMoveSparseBoard(benchmark::State& state)
{
    BenchBoard b(3);
    SetLayout(b.board, {"........", "........", "........", "...CD...", "...DC...", "........",
                        "........", "........"});
    for (auto _ : state) {
        benchmark::DoNotOptimize(b.board.HasAnyMove());
        b.board.ClearMarks();
    }
}
BENCHMARK(BM_HasAnyMoveSparseBoard);

void BM_DealFullBoard(benchmark::State& state)
{
    BenchBoard b(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        b.board.Deal(false);
        b.board.ClearMarks();
        benchmark::DoNotOptimize(b.board.image[0]);
    }
}
BENCHMARK(BM_DealFullBoard)->Arg(0)->Arg(3);

}  // namespace
BENCHMARK_MAIN();
