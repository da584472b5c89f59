// VexaTileDemo: the game's tiles, bursts and sounds on the Direct3D backend in a real
// window of the windowed edition's size (900 x 675). Eight tiles of the shipped pack lie
// on the board's cells (columns 2 to 5, rows 3 and 4), drawn from "plane.x" and "frame.x"
// through the board's camera. A script runs in a loop of four seconds per pair: one tile
// is selected (it spins a full turn about its centre, then pulses), then its partner,
// then both vanish in pair explosions with sparks along the path between them, and the
// pair comes back with the shuffle sound. The tile under the pointer is raised with the
// hover frame. Closing the window ends the program through RunMain.
#include "DemoWindow.h"

#include <BoardEdition.h>
#include <BoardFrame.h>
#include <GameApp.h>
#include <BoardEffects.h>
#include <MeshModel.h>
#include <SoundSystem.h>
#include <TilePack.h>

#include <KvD3D9.h>
#include <KvLib.h>
#include <Zeb.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

const int kWidth = 900, kHeight = 675;
const int kCols = 4, kFirstCol = 2, kFirstRow = 3;
const float kCycle = 4.0f;  // seconds per pair
extern float frameTime;    // this frame's step of the script

enum TileState { TILE_NORMAL, TILE_HOVER, TILE_SELECTED, TILE_REMOVED };

struct Tile {
    int col, row;
    int picture;
    TileState state;
    float timer;
};

void DrawDemoFrame();

class DemoDesktop : public WDesktop {
public:
    void Draw() override
    {
        pbg->ClearScreen(0xFF182028);
        pbg->BeginScene();
        DrawDemoFrame();
    }
};

class TileDemo : public kvApplication {
public:
    CMeshModel* plane = nullptr;
    CMeshModel* frame = nullptr;
    kvrTexture* frames[3] = {};  // normal, hover, selected
    kvrTexture* particle = nullptr;
    CTilePack pack;
    CPackTextures packTextures;
    CBoardEffects effects;
    CBoardSound sound;
    std::vector<Tile> tiles;
    float scriptClock = 0.0f;
    int stage = 0;

    void Init() override
    {
        InitZeb(0);
        SetDesktop(new DemoDesktop);
        GetComspec(nullptr);
        programDir = kvPath;
        InitFileLoader(programDir.c_str(), "GUI\\");
        const char* frameFiles[3] = {"frame.tga", "frameflyover.tga", "frameselection.tga"};
        for (int i = 0; i < 3; ++i) {
            frames[i] = new kvrTexture(frameFiles[i]);
            kvrReg(frames[i]);
        }
        particle = new kvrTexture("particle.tga");
        kvrReg(particle);
        InitFileLoader(programDir.c_str(), "DataPack\\Vexa\\");
        pack.Load(kvPath, &packTextures);
        for (int i = 0; i < 2 * kCols; ++i)
            tiles.push_back(Tile{kFirstCol + i % kCols, kFirstRow + i / kCols,
                                 pack.count ? i % kCols % pack.count : 0, TILE_NORMAL, 0.0f});
        effects.NewEffectList();
        StartSound();
    }
    void LoadObjs() override
    {
        kvResourceLoad();
        InitFileLoader(programDir.c_str(), "GUI\\Mesh\\");
        plane = new CMeshModel;
        plane->Load("plane.x");
        frame = new CMeshModel;
        frame->Load("frame.x");
        kvPath[0] = '\0';
        effects.LoadObjs(particle);
    }
    void DestroyObjs() override
    {
        kvResourceRelease();
        for (CMeshModel** m : {&plane, &frame}) {
            if (*m)
                (*m)->Destroy();
            delete *m;
            *m = nullptr;
        }
        effects.DestroyObjs();
    }
    ~TileDemo() override
    {
        FreeZeb();
        StopSound();
        effects.DestroyEffects();
        pack.Clear();
        for (kvrTexture* t : frames)
            delete t;
        delete particle;
    }

    // Pair p is tiles p and p + 4 (the same picture, one above the other).
    void RunScript(float dt)
    {
        scriptClock += dt;
        const int pair = (stage / 4) % kCols;
        Tile& a = tiles[size_t(pair)];
        Tile& b = tiles[size_t(pair + kCols)];
        const float marks[4] = {0.2f, 1.2f, 2.4f, 3.6f};
        const int step = stage % 4;
        if (scriptClock < float(stage / 4) * kCycle + marks[step])
            return;
        switch (step) {
        case 0:
            a.state = TILE_SELECTED, a.timer = 0.0f;
            sound.Play(SOUND_MOVE);
            break;
        case 1:
            b.state = TILE_SELECTED, b.timer = 0.0f;
            sound.Play(SOUND_CLICK);
            break;
        case 2:
            a.state = b.state = TILE_REMOVED;
            effects.StartBurst(BURST_PAIR_EXPLOSION, a.col, a.row);
            effects.StartBurst(BURST_PAIR_EXPLOSION, b.col, b.row);
            // The pair lies in one column: its straight path is its own two cells.
            for (int row = a.row; row <= b.row; ++row)
                effects.StartBurst(BURST_PATH_SPARK, a.col, row);
            sound.Play(SOUND_LINK);
            break;
        default:
            a.state = b.state = TILE_NORMAL;
            sound.Play(SOUND_SHUFFLE);
            break;
        }
        ++stage;
    }

    void DrawTile(const D3DXMATRIX& world, kvrTexture* picture, kvrTexture* frameTexture)
    {
        pd3dDevice->SetTransform(D3DTS_WORLD, &world);
        plane->textures[0] = picture->Get();
        plane->Render(false);
        plane->textures[0] = nullptr;
        frame->textures[0] = frameTexture->Get();
        frame->Render(false);
        frame->textures[0] = nullptr;
    }

    void DrawBoard()
    {
        CBoardFrame::SetCameraAndStates();

        const Tile* hovered = nullptr;
        for (Tile& t : tiles) {
            t.timer += frameTime;
            if (t.state == TILE_NORMAL && t.col == PointedCol() && t.row == PointedRow())
                hovered = &t;
            else if (t.state == TILE_NORMAL)
                DrawTile(CBoardFrame::CellPlacement(t.col, t.row, 0.0f), Picture(t), frames[0]);
        }
        for (Tile& t : tiles)
            if (t.state == TILE_SELECTED)
                DrawTile(CBoardFrame::SelectedMotion(t.timer) *
                             CBoardFrame::CellPlacement(t.col, t.row, -0.05f),
                         Picture(t), frames[2]);
        if (hovered)
            DrawTile(CBoardFrame::CellPlacement(hovered->col, hovered->row, -0.05f),
                     Picture(*hovered), frames[1]);
        effects.DrawEffects();
    }

private:
    std::string programDir;

    kvrTexture* Picture(const Tile& t) const { return pack.entries[t.picture].texture; }
    // The cell under the pointer, as the board maps it in the windowed edition.
    static int PointedCol()
    {
        return int(std::floor(float(MouseX - EDITION_WINDOWED.boardLeft) / EDITION_WINDOWED.pitchX));
    }
    static int PointedRow()
    {
        return int(std::floor(float(MouseY - EDITION_WINDOWED.boardTop) / EDITION_WINDOWED.pitchY));
    }
};

TileDemo* demo = nullptr;
float frameTime = 0.0f;

void DrawDemoFrame()
{
    // The runtime's first frame measures from the counter's origin; the script and the
    // tile timers step at most a tenth of a second.
    frameTime = std::min(fElapsedTime, 0.1f);
    demo->RunScript(frameTime);
    demo->DrawBoard();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    return RunDemoWindow(
        instance, showCommand, "debug.txt", [] { return demo = new TileDemo; }, 1,
        "VexaTileDemo", "VexaTessel tiles", kWidth, kHeight);
}
