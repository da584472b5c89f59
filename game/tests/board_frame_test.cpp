// The game screen's frame and the game's skin on a real device, read back at chosen
// pixels: the bars cut to their fill, the multiplier from combo 2 on, what a paused frame
// leaves out, the button's picture rows and the arrow buttons' captions.
#include "D3DFixture.h"
#include "RecordingSeams.h"

#include <BoardFrame.h>
#include <GameBoard.h>
#include <MacUIStyle.h>
#include <MeshModel.h>
#include <TilePack.h>

#include <KvFontD3D9.h>
#include <WButton.h>

#include <memory>

namespace {

const DWORD RED = 0xFF0000, BLUE = 0x0000FF, GREEN = 0x00FF00;

// A w x h picture whose left half is one colour and right half another.
std::vector<DWORD> Halves(int w, int h, DWORD left, DWORD right)
{
    std::vector<DWORD> p(size_t(w * h));
    for (int i = 0; i < w * h; ++i)
        p[size_t(i)] = i % w < w / 2 ? left : right;
    return p;
}

class BoardFrameTest : public D3DTest {
protected:
    void SetUp() override
    {
        D3DTest::SetUp();
        Start(900, 675);
        frame.board = &board;
        frame.skin = &skin;
        frame.lifeBarTexture = Texture("life.bmp", Halves(256, 4, RED, BLUE));
        frame.comboBarTexture = Texture("combo.bmp", Halves(256, 4, RED, BLUE));
        // The camera and pictures of the board itself; the pack holds one green picture.
        InitFileLoader(VEXA_BIN_DIR, "GUI\\Mesh\\");
        plane->Load("plane.x");
        frameModel->Load("frame.x");
        kvPath[0] = '\0';
        frame.planeMesh = &planeRef;
        frame.frameMesh = &frameRef;
        entry.texture = Texture("tile.bmp", std::vector<DWORD>(64 * 64, GREEN));
        pack.count = 1;
        pack.entries = &entry;
        board.pack = &pack;
        for (int i = 0; i < 64; ++i)
            board.image[i] = 0, board.cell[i] = {CELL_NORMAL, 0.0f};
        board.life = 0.0f;
        board.comboBar = 0.0f;
    }
    void TearDown() override
    {
        pack.entries = nullptr;
        pack.count = 0;
        plane->Destroy();
        frameModel->Destroy();
        delete largeFont;
        for (auto& t : textures)
            t->Release();
        D3DTest::TearDown();
    }
    kvrTexture* Texture(const char* name, const std::vector<DWORD>& pixels)
    {
        const int w = pixels.size() == 1024 ? 256 : 64;
        WriteBmp(name, w, int(pixels.size()) / w, pixels);
        textures.emplace_back(new kvrTexture(name));
        textures.back()->Load();
        return textures.back().get();
    }
    void Draw()
    {
        d3d->ClearScreen(0xFF000000, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        d3d->BeginScene();
        frame.DrawBoardFrame(0.0f);
        d3d->EndScene();
    }

    RecordingSeams seams;
    CGameBoard board{EDITION_WINDOWED, seams.Seams()};
    CBoardFrame frame{HUD_WINDOWED};
    CMacUIStyle skin;
    std::unique_ptr<CMeshModel> plane{new CMeshModel}, frameModel{new CMeshModel};
    CMeshModel* planeRef = plane.get();
    CMeshModel* frameRef = frameModel.get();
    CTilePack pack;
    TilePackEntry entry = {};
    kvCFont* largeFont = nullptr;
    std::vector<std::unique_ptr<kvrTexture>> textures;
};

// The bar is 125 pixels when full and shows as much of its picture as it is full: at 0.5
// only the red left half, 62 pixels from x = 750.
TEST_F(BoardFrameTest, TheLifeBarIsCutNotSqueezed)
{
    const struct {
        float life;
        int lastLit;
        DWORD lastColour;
    } rows[] = {{1.0f, 874, BLUE}, {0.5f, 811, RED}, {0.2f, 774, RED}};
    for (const auto& row : rows) {
        board.life = row.life;
        Draw();
        EXPECT_TRUE(Near(RED, Rgb(752, 135), 8)) << "life " << row.life;
        EXPECT_TRUE(Near(row.lastColour, Rgb(row.lastLit, 135), 24))
            << "life " << row.life << std::hex << " " << Rgb(row.lastLit, 135);
        EXPECT_TRUE(Near(0, Rgb(row.lastLit + 1, 135), 8)) << "life " << row.life;
    }
}

// The multiplier's yellow appears at (812, 96) only once the combo reaches 2.
TEST_F(BoardFrameTest, TheMultiplierShowsFromComboTwo)
{
    largeFont = new kvCFont(d3d->pDevice);
    largeFont->InitFont(32, WTEXT_CENTRE, "", 1, true);
    frame.largeFont = largeFont;
    auto yellowIn = [&] {
        int yellow = 0, w = 0;
        const std::vector<DWORD> pixels = ReadBack(&w);
        for (int y = 96; y < 130; ++y)
            for (int x = 790; x < 835; ++x) {
                const DWORD c = pixels[size_t(y * w + x)] & 0xFFFFFF;
                yellow += (c >> 16) > 100 && ((c >> 8) & 0xFF) > 100 && (c & 0xFF) < 60;
            }
        return yellow;
    };
    for (int combo : {1, 2, 5}) {
        board.combo = combo;
        Draw();
        if (combo < 2)
            EXPECT_EQ(0, yellowIn()) << "combo " << combo;
        else
            EXPECT_LT(20, yellowIn()) << "combo " << combo;
    }
}

// Paused: the tiles and the picture go, the picture's frame stays; the hovered tile is
// drawn with the others while playing.
TEST_F(BoardFrameTest, APausedFrameLeavesOutTilesAndPicture)
{
    const HudRect& picture = HUD_WINDOWED.picture;
    const int px = (picture.left + picture.right) / 2, py = (picture.top + picture.bottom) / 2;
    board.cell[9].state = CELL_HOVER;
    for (bool paused : {false, true}) {
        board.paused = paused;
        Draw();
        // Cell (0, 0) is under (100, 86) and the hovered cell (1, 1) under (174, 158).
        for (POINT p : {POINT{100, 86}, POINT{174, 158}}) {
            const DWORD c = Rgb(p.x, p.y);
            EXPECT_EQ(!paused, (c >> 8 & 0xFF) > 0xA0 && (c >> 16) < 0x60)
                << "paused " << paused << " at " << p.x << "," << p.y << std::hex << " " << c;
        }
        EXPECT_EQ(!paused, Near(GREEN, Rgb(px, py), 8)) << "paused " << paused;
    }
}

// The button's picture has three rows: red normal, green under the pointer, blue pressed.
// Only both button bits together press it.
TEST_F(BoardFrameTest, TheButtonRowFollowsBothButtonBits)
{
    SetOutText(new WText);
    std::vector<DWORD> rows(64 * 64);
    for (int i = 0; i < 64 * 64; ++i)
        rows[size_t(i)] = i / 64 < 21 ? RED : i / 64 < 43 ? GREEN : BLUE;
    IDirect3DTexture9* skinTextures[MAC_SLOTS] = {Texture("button.bmp", rows)->Get()};
    skin.SetTextures(skinTextures);
    std::unique_ptr<WButton> button(new WButton(100, 100, 120, 30, "", "", 0, 1));
    const struct {
        DWORD state;
        bool pointerOn;
        DWORD colour;
    } cases[] = {{0, false, RED},           {0x10, false, RED},   {0x20, false, RED},
                 {0x10, true, GREEN},        {0x30, false, BLUE},  {0x30, true, BLUE}};
    for (const auto& c : cases) {
        button->State = c.state;
        MouseX = c.pointerOn ? 150 : -50;
        MouseY = c.pointerOn ? 110 : -50;
        d3d->ClearScreen(0xFF000000, D3DCLEAR_TARGET);
        d3d->BeginScene();
        skin.SetViewer(button.get());
        skin.DrawButton();
        d3d->EndScene();
        EXPECT_TRUE(Near(c.colour, Rgb(160, 115), 8))
            << "state " << c.state << " pointer " << c.pointerOn << std::hex << " " << Rgb(160, 115);
        EXPECT_EQ(c.pointerOn, button->Hover != 0);
    }
    delete OutText;
    OutText = nullptr;
}

// Only the five arrow and plus captions have pictures; any other caption draws nothing.
TEST_F(BoardFrameTest, AnUnknownSlaveCaptionIsInvisible)
{
    SetOutText(new WText);
    IDirect3DTexture9* white = Texture("white.bmp", std::vector<DWORD>(64 * 64, 0xFFFFFF))->Get();
    IDirect3DTexture9* skinTextures[MAC_SLOTS] = {};
    skinTextures[MAC_SLAVE_BUTTONS] = skinTextures[MAC_COMBO_BOX] = white;
    skin.SetTextures(skinTextures);
    for (const char* caption : {"<", ">", "@<", "@>", "+", "x", "", "<<"}) {
        std::unique_ptr<WButton> button(new WSlaveButton(100, 100, 16, 16, caption, 0));
        d3d->ClearScreen(0xFF000000, D3DCLEAR_TARGET);
        d3d->BeginScene();
        skin.SetViewer(button.get());
        skin.DrawSlaveButton();
        d3d->EndScene();
        const bool known = std::string("< > @< @> +").find(caption) != std::string::npos &&
                           caption[0] && std::string(caption) != "<<";
        EXPECT_EQ(known, Near(0xFFFFFF, Rgb(108, 108), 8)) << "caption '" << caption << "'";
    }
    delete OutText;
    OutText = nullptr;
}

}  // namespace

#include <GameApp.h>

namespace {

// The application over the runtime tree beside the test program: its screens, and its
// device objects rebuilt as after a lost device.
class GameAppTest : public D3DTest {
protected:
    // One frame of the whole desktop, left in the back buffer.
    void DrawDesktop()
    {
        MyDesktop->Draw();
        d3d->EndScene();
    }
};

TEST_F(GameAppTest, TheScreensSurviveARebuildOfTheDeviceObjects)
{
    Start(900, 675);
    auto* app = new myApplication(GAME_WINDOWED);
    GameApp = app;
    app->Init();
    app->LoadObjs();
    DrawDesktop();
    const DWORD formBefore = Rgb(450, 340), backgroundBefore = Rgb(40, 40);
    app->DestroyObjs();
    app->LoadObjs();
    DrawDesktop();
    // Without the system pointer the sprite is loaded and handed over on every LoadObjs.
    ASSERT_FALSE(bSysMouse);
    ASSERT_NE(nullptr, app->pointerTexture);
    EXPECT_EQ(app->pointerTexture->Get(), d3d->pMousePointer);
    EXPECT_TRUE(Near(formBefore, Rgb(450, 340), 4)) << std::hex << formBefore;
    EXPECT_TRUE(Near(backgroundBefore, Rgb(40, 40), 4)) << std::hex << backgroundBefore;
    EXPECT_FALSE(Near(formBefore, backgroundBefore, 16));

    // The main form's start command opens the round on the second background, taking
    // down the tooltip the start button had up.
    SendComment(app->mainForm, 450, 340, "tip");
    VlxMessage start = {VLX_COMMAND, CMD_START};
    MyDesktop->HandleEvent(&start);
    EXPECT_TRUE(IsViewShown(app->gameScreen) && IsViewShown(app->gameDialog));
    EXPECT_FALSE(IsViewShown(app->mainForm));
    EXPECT_FALSE(MyDesktop->State & VS_COMMENT_SHOWN);
    EXPECT_EQ(1, app->desktop->backgroundIndex);
    EXPECT_NE(std::string::npos, LogText().find("Board dealt:"));
    app->DestroyObjs();
    app->LoadObjs();
    DrawDesktop();
    // Cell (0, 0) shows a tile, not the background, after the rebuild.
    EXPECT_FALSE(Near(Rgb(100, 86), Rgb(680, 640), 24)) << std::hex << Rgb(100, 86);

    app->ReturnToMainForm();
    EXPECT_TRUE(IsViewShown(app->mainForm));
    EXPECT_FALSE(IsViewShown(app->gameScreen) || IsViewShown(app->gameDialog));
    EXPECT_EQ(0, app->desktop->backgroundIndex);
    EXPECT_EQ(nullptr, app->effects.effects);
    app->DestroyObjs();
    delete app;
}

}  // namespace

namespace {

// A comment of hanzi and Latin letters fits its box, with nearly even margins, in the GUI
// font (each hanzi draws one pixel wider than the font measures it).
TEST_F(GameAppTest, TheCommentBoxHoldsWhatItsTextDraws)
{
    Start(400, 100);
    auto* font = new kvCFont(d3d->pDevice);
    font->InitFont(16, WTEXT_CENTRE, "", 1, false);
    SetOutText(font);
    ViewPalette[VP_COMMENT_TEXT] = 0xFF000000;
    ViewPalette[VP_COMMENT_BACK] = 0xFFFFFFFF;
    std::unique_ptr<TSDesktop> desktop(new TSDesktop);
    for (const char* comment : {"结束本局，回到主菜单（X 键）", "Shuffle -300", "洗牌"}) {
        desktop->ChangeComment(comment);
        desktop->CommentBoxX = 40;
        desktop->CommentBoxY = 30;
        desktop->State |= VS_COMMENT_SHOWN;
        d3d->ClearScreen(0xFF00FF00, D3DCLEAR_TARGET);
        d3d->BeginScene();
        desktop->ShowComment();
        d3d->EndScene();
        int w = 0;
        const std::vector<DWORD> pixels = ReadBack(&w);
        const int x = desktop->CommentBoxX, r = x + desktop->CommentBoxW;
        int left = w, right = -1;
        // Ink: dark pixels in the rows of the text, inside or outside the box.
        for (int y = 33; y < 30 + desktop->CommentBoxH - 2; ++y)
            for (int i = 0; i < w; ++i)
                if (i != x && i != r - 1 && (pixels[size_t(y * w + i)] & 0xFF00) < 0x8000)
                    left = std::min(left, i), right = std::max(right, i);
        EXPECT_GT(left, x) << comment;
        EXPECT_LT(right, r - 1) << comment;
        // Full-width punctuation leaves part of its cell blank, so the ink's margins are
        // only nearly even.
        EXPECT_LE(std::abs((left - x) - (r - 1 - right)), 6) << comment << " " << left << ".." << right
                                                             << " in " << x << ".." << r;
    }
    desktop.reset();
    delete OutText;
    OutText = nullptr;
}

}  // namespace
