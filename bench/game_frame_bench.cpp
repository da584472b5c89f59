// The full game frame as the game screen draws it: CBoardFrame with the shipped meshes,
// frame, panel and bar pictures and tile pack of the runtime tree, a dealt board of 64
// tiles (one selected, one hovered), the HUD with its numbers, texts and the multiplier,
// and the worst frame's bursts in flight (two pair explosions and twenty sparks), in
// each edition. Beside the windowed edition, the plain OpenGL program of
// worst_frame_bench draws the same tiles and bursts; it has no HUD, so the ratio printed
// after the run also carries the HUD's cost (two panels of nine pieces, the picture, two
// bars and about sixty glyphs). Run: build/bin/game_frame_bench
#include "engine_window.h"
#include "particles_scene.h"
#include "plain_worst_frame.h"
#include "tiles_scene.h"
#include "twin_report.h"

#include <BoardFrame.h>
#include <GameBoard.h>
#include <MacUIStyle.h>
#include <MeshModel.h>
#include <TilePack.h>

#include <KvFontD3D9.h>
#include <benchmark/benchmark.h>
#include <vexa/graphics.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

class Silent : public IBoardSound, public IRoundScreens {
public:
    void Play(BoardSound) override {}
    int ShowMessageBox(const char*, const char*, int) override { return 1; }
    void ReturnToMainForm() override {}
    void PostCommand(int) override {}
    void RunBackgroundDialog() override {}
};

// Loads each picture at once (the registry is not running here).
class LoadedTextures : public ITileTextureFactory {
public:
    kvrTexture* CreateTexture(const char* fileName) override { return new kvrTexture(fileName); }
    void ReleaseTexture(kvrTexture* texture) override
    {
        texture->Release();
        delete texture;
    }
};

// The game screen's frame on a kvD3D already initialised.
class GameFrame {
public:
    explicit GameFrame(const BoardEdition& edition, const HudLayout& hud)
        : board(edition, BoardSeams{&silent, &effects, &silent}), frame(hud)
    {
        InitFileLoader(VEXA_BIN_DIR, "DataPack\\Vexa\\");
        pack.Load(kvPath, &factory);
        InitFileLoader(VEXA_BIN_DIR, "GUI\\");
        const char* names[] = {"frame.tga", "frameflyover.tga", "frameselection.tga",
                               "board.tga", "lifebar.jpg", "combobar.jpg", "particle.tga"};
        for (const char* n : names)
            textures.emplace_back(new kvrTexture(n));
        InitFileLoader(VEXA_BIN_DIR, "GUI\\Mesh\\");
        plane.Load("plane.x");
        frameModel.Load("frame.x");
        kvPath[0] = '\0';
        for (int i = 0; i < pack.count; ++i)
            pack.entries[i].texture->Load();
        for (auto& t : textures)
            t->Load();
        small.InitFont(12, WTEXT_LEFT, "", 1, true);
        large.InitFont(32, WTEXT_CENTRE, "", 1, true);
        kvFont::CreateStateBlock(pd3dDevice);

        board.SetDifficulty(1, &pack);
        board.StartRound();
        board.cell[9].state = CELL_SELECTED;
        board.cell[9].timer = 0.8f;
        board.cell[20].state = CELL_HOVER;
        board.combo = 3;
        board.comboBar = 0.6f;
        board.life = 0.7f;
        board.score = 1234;
        effects.LoadObjs(textures[6].get());
        particles::StartWorstFrame(effects, 1);

        frame.board = &board;
        frame.planeMesh = &planeRef;
        frame.frameMesh = &frameRef;
        for (int i = 0; i < TILE_FRAMES; ++i)
            frame.frameTextures[i] = textures[size_t(i)].get();
        frame.panelTexture = textures[3].get();
        frame.lifeBarTexture = textures[4].get();
        frame.comboBarTexture = textures[5].get();
        frame.effects = &effects;
        frame.smallFont = &small;
        frame.largeFont = &large;
        frame.skin = &skin;
    }
    ~GameFrame()
    {
        effects.DestroyEffects();
        effects.DestroyObjs();
        plane.Destroy();
        frameModel.Destroy();
        for (auto& t : textures)
            t->Release();
        pack.Clear();
        kvFont::ReleaseStateBlock();
    }
    GameFrame(const GameFrame&) = delete;
    GameFrame& operator=(const GameFrame&) = delete;

    // dt 0: the bars, timers and bursts stand still, so every frame draws the same.
    void Draw() { frame.DrawBoardFrame(0.0f); }

private:
    Silent silent;
    CBoardEffects effects;
    CGameBoard board;
    CBoardFrame frame;
    CTilePack pack;
    LoadedTextures factory;
    std::vector<std::unique_ptr<kvrTexture>> textures;
    CMeshModel plane, frameModel;
    CMeshModel* planeRef = &plane;
    CMeshModel* frameRef = &frameModel;
    kvCFont small{pd3dDevice};
    kvCFont large{pd3dDevice};
    CMacUIStyle skin;
};

void RunEngine(benchmark::State& state, const BoardEdition& edition, const HudLayout& hud)
{
    EngineWindow window(edition.windowWidth, edition.windowHeight, 0);
    GameFrame game(edition, hud);
    twin::FrameClock clock;
    for (auto _ : state) {
        window.Begin();
        game.Draw();
        window.End();
    }
    clock.Finish(state);
}

void BM_GameFrameWindowed(benchmark::State& state)
{
    RunEngine(state, EDITION_WINDOWED, HUD_WINDOWED);
}

void BM_GameFrameFullScreen(benchmark::State& state)
{
    RunEngine(state, EDITION_FULLSCREEN, HUD_FULLSCREEN);
}

void BM_PlainBoardFrame(benchmark::State& state)
{
    RunPlainWorstFrame(state, nullptr);
}
}  // namespace

BENCHMARK(BM_PlainBoardFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GameFrameWindowed)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GameFrameFullScreen)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    // Headless unless told otherwise; the figures are llvmpipe's on a machine without a GPU.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    // Frames are timed as fast as they draw, not as often as a display would show them.
    vexa::platform::SetPresentPacing(false);
    return twin::RunTwins(argc, argv,
                          {{"game frame 900 x 675", "BM_GameFrameWindowed/real_time",
                            "BM_PlainBoardFrame/real_time"}});
}
