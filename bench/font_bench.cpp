// The fonts' costs on the platform's Direct3D and GDI: DrawTextExA of a 40-byte line of
// ASCII and Chinese with every glyph already in the cache and with every glyph missing
// (each line brings thirteen characters the cache has not held for a long time), and
// InitFont of the game's three fonts (heights 12, 16 and 32, cache size 1).
// Run: build/bin/font_bench
#include <KvD3D9.h>
#include <KvFontD3D9.h>
#include <KvLib.h>
#include <Zeb.h>

#include <benchmark/benchmark.h>
#include <vexa/graphics.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
char kClass[] = "VexaTesselFontBench";
char kCaption[] = "Fonts";

// One window and device for the whole run.
kvD3D* Device()
{
    static kvD3D* d3d = [] {
        kvCreateWindow(kClass, kCaption, SW_SHOW, nullptr, 800, 600,
                       KVWIN_WINDOWED | KVWIN_FIXEDSIZE | KVWIN_REALTIME);
        auto* d = new kvD3D(0, 0, false);
        d->Init();
        return d;
    }();
    return d3d;
}

// 14 ASCII bytes and 13 hanzi: 40 bytes. Line n takes its hanzi from GB2312 level 1 past
// the cache's initial fill, so consecutive lines share none.
std::string Line(int n)
{
    std::string line = "Score 12345 x3";
    for (int i = 0; i < 13; ++i) {
        const int index = (n * 13 + i) % (39 * 94);  // rows 0xB8 to 0xDE
        line += char(0xB8 + index / 94);
        line += char(0xA1 + index % 94);
    }
    return line;
}

void BM_DrawTextCached(benchmark::State& state)
{
    kvD3D* d3d = Device();
    kvCFont font(d3d->pDevice);
    font.InitFont(16, WTEXT_LEFT, "", 1, false);
    const std::string line = Line(0);
    d3d->BeginScene();
    font.DrawTextExA(10, 10, 0xFFFFFFFF, line.c_str(), 1.0f);  // brings its glyphs in
    for (auto _ : state)
        font.DrawTextExA(10, 10, 0xFFFFFFFF, line.c_str(), 1.0f);
    d3d->EndScene();
    d3d->UpdateScreen();
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(line.size()));
}

void BM_DrawTextMissing(benchmark::State& state)
{
    kvD3D* d3d = Device();
    kvCFont font(d3d->pDevice);
    font.InitFont(16, WTEXT_LEFT, "", 1, false);
    std::vector<std::string> lines;
    for (int n = 0; n < 200; ++n)
        lines.push_back(Line(n));
    size_t next = 0;
    d3d->BeginScene();
    for (auto _ : state) {
        font.DrawTextExA(10, 10, 0xFFFFFFFF, lines[next].c_str(), 1.0f);
        next = (next + 1) % lines.size();  // 200 lines of 13: far more than 225 cells hold
    }
    d3d->EndScene();
    d3d->UpdateScreen();
    state.SetBytesProcessed(int64_t(state.iterations()) * 40);
}

void BM_InitGameFonts(benchmark::State& state)
{
    kvD3D* d3d = Device();
    for (auto _ : state) {
        kvCFont small(d3d->pDevice), text(d3d->pDevice), large(d3d->pDevice);
        small.InitFont(12, WTEXT_LEFT, "", 1, true);
        text.InitFont(16, WTEXT_CENTRE, "", 1, false);
        large.InitFont(32, WTEXT_LEFT, "", 1, true);
    }
}
}  // namespace

BENCHMARK(BM_DrawTextCached)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawTextMissing)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InitGameFonts)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    // Frames are timed as fast as they draw, not as often as a display would show them.
    vexa::platform::SetPresentPacing(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete Device();
    DestroyWindow(hWnd);
    return 0;
}
