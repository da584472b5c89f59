// Block streams under the resource loader's pattern: many small records written, the
// file flushed, then loaded back and read record by record.
#include "MemoryStream.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

void FillStream(MemoryStream& s, int records)
{
    s.AddBlock(0x8001);
    char caption[32];
    for (int i = 0; i < records; ++i) {
        DWORD rect[4] = {DWORD(i), DWORD(i + 1), DWORD(i + 2), DWORD(i + 3)};
        s.Write(rect, sizeof rect);
        std::snprintf(caption, sizeof caption, "caption %d", i);
        s.SaveString(caption);
    }
}

void BM_WriteAndFlush(benchmark::State& state)
{
    const int records = int(state.range(0));
    for (auto _ : state) {
        MemoryStream s("bench", true, true, false);
        FillStream(s, records);
        s.Flush();
        benchmark::DoNotOptimize(s.medium.data());
    }
    state.SetItemsProcessed(state.iterations() * records);
}
BENCHMARK(BM_WriteAndFlush)->Arg(100)->Arg(10000);

void BM_LoadAndRead(benchmark::State& state)
{
    const int records = int(state.range(0));
    MemoryStream source("bench", true, true, false);
    FillStream(source, records);
    source.Flush();
    for (auto _ : state) {
        MemoryStream s("bench", true, false, true, source.medium);
        s.Load();
        s.SetBlock(0x8001);
        char caption[256];
        DWORD rect[4];
        for (int i = 0; i < records; ++i) {
            s.Read(rect, sizeof rect);
            s.LoadStringA(caption);
        }
        benchmark::DoNotOptimize(caption[0]);
    }
    state.SetItemsProcessed(state.iterations() * records);
}
BENCHMARK(BM_LoadAndRead)->Arg(100)->Arg(10000);

}  // namespace

BENCHMARK_MAIN();
