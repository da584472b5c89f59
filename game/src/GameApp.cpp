// myApplication: start-up in a fixed order (fonts and the framework, texture resources by
// folder, tile pack, board, desktop, views, skin, palette, pointer, sounds), the device
// objects around every reset, and the screens the board hands off to.
#include "GameApp.h"

#include "GameBoard.h"
#include "MacUIStyle.h"
#include "MeshModel.h"

#include <KvD3D9.h>
#include <KvFontD3D9.h>
#include <KvLib.h>
#include <Zeb.h>
#include <kvFileStream.h>

#include <WComboBox.h>
#include <WStaticText.h>

#include <initializer_list>

#include <stdio.h>
#include <string.h>
#include <time.h>

const BackgroundEntry BACKGROUND_TABLE[BACKGROUND_COUNT] = {
    {"default.jpg", "Intro"},
    {"Tulips.jpg", "郁金香"},
    {"Autumn.jpg", "金秋"},
};

const DWORD GAME_PALETTE[GAME_PALETTE_SIZE] = {
    0xB4C8C8C8, 0xFFB4B4B4, 0xFF8C8C8C, 0xFF5A5A78, 0xFF282828, 0xFFFFF7F0, 0xFFE0E050,
    0xFF000000, 0xB43170CE, 0xFF93BADC, 0xFFFFFFFF, 0x96FFFF00, 0xC8FFFFFF,
};

const GameEdition GAME_WINDOWED = {&EDITION_WINDOWED, &HUD_WINDOWED, 900, 675,
                                   KVWIN_SKINNED | KVWIN_FIXEDSIZE | KVWIN_REALTIME};
const GameEdition GAME_FULLSCREEN = {&EDITION_FULLSCREEN, &HUD_FULLSCREEN, 1024, 768, 0};

myApplication* GameApp = nullptr;

namespace {

const char* const SKIN_FILES[SKIN_TEXTURES] = {
    "Button.png", "Dialog.png", "DialogTitle.tga", "SlaveButtons.tga",
    "ComboBox.png", "InputLine.png", "Menu.tga",
};
const char* const FRAME_FILES[TILE_FRAMES] = {"frame.tga", "frameflyover.tga",
                                              "frameselection.tga"};

// The program directory, kept apart from kvPath, which every loader folder overwrites.
char programDir[260];

void UseFolder(const char* subFolder)
{
    InitFileLoader(programDir, subFolder);
}

IDirect3DDevice9* Device()
{
    kvD3D* d3d = kvD3D::Installed();
    return d3d ? d3d->pDevice : nullptr;
}

}  // namespace

// ---- the board's seams -----------------------------------------------------------------

int CRoundScreens::ShowMessageBox(const char* title, const char* text, int flags)
{
    Trace("Message box: %s", text);
    const int answer = WMessageBox(title, text, flags);
    Trace("Message box answered %d.", answer);
    return answer;
}

void CRoundScreens::ReturnToMainForm()
{
    app->ReturnToMainForm();
}

void CRoundScreens::PostCommand(int code)
{
    VlxMessage event = {};
    AddCommand(&event, code);
}

void CRoundScreens::RunBackgroundDialog()
{
    app->RunBackgroundDialog();
}

int CRoundRecords::RecordWin(const CGameBoard& board)
{
    const int rank = table.Add(CScoreTable::DifficultyIndexOf(board.difficulty),
                               CScoreTable::EntryOfRound(board, time(nullptr)));
    Trace("Round won with %d points: place %d in the best scores.", static_cast<int>(board.score),
          rank);
    return rank;
}

kvrTexture* CPackTextures::CreateTexture(const char* fileName)
{
    auto* texture = new kvrTexture(fileName);
    kvrReg(texture);
    return texture;
}

void CPackTextures::ReleaseTexture(kvrTexture* texture)
{
    // The registry keeps its node until it is destroyed; the pack goes only at shut-down
    // or when its list failed to load, and no load or release runs after either.
    if (texture)
        texture->Release();
    delete texture;
}

// ---- the application ---------------------------------------------------------------------

myApplication::myApplication(const GameEdition& gameEdition)
    : guiFont(nullptr), smallFont(nullptr), largeFont(nullptr), uiStyle(nullptr),
      desktop(nullptr), backgroundDialog(nullptr), scoresDialog(nullptr), mainForm(nullptr),
      gameScreen(nullptr),
      gameDialog(nullptr), tilePack(nullptr), planeMesh(nullptr), frameMesh(nullptr),
      board(nullptr), pointerTexture(nullptr), skinTextures{}, frameTextures{},
      panelTexture(nullptr), backgrounds{}, particleTexture(nullptr), lifeBarTexture(nullptr),
      comboBarTexture(nullptr), screens(this), frame(*gameEdition.hud), control(nullptr),
      edition(gameEdition)
{
}

kvrTexture* myApplication::Texture(const char* name)
{
    auto* texture = new kvrTexture(name);
    kvrReg(texture);
    return texture;
}

void myApplication::Init()
{
    IDirect3DDevice9* device = Device();
    guiFont = new kvCFont(device);
    guiFont->InitFont(16, WTEXT_CENTRE, "", 1, false);
    SetOutText(guiFont);
    InitZeb(0);
    smallFont = new kvCFont(device);
    smallFont->InitFont(12, WTEXT_LEFT, "", 1, true);
    largeFont = new kvCFont(device);
    largeFont->InitFont(32, WTEXT_CENTRE, "", 1, true);

    GetComspec(nullptr);
    snprintf(programDir, sizeof(programDir), "%s", kvPath);
    UseFolder("GUI\\Mac\\");
    for (int i = 0; i < SKIN_TEXTURES; ++i)
        skinTextures[i] = Texture(SKIN_FILES[i]);
    UseFolder("GUI\\BackGround\\");
    for (int i = 0; i < BACKGROUND_COUNT; ++i)
        backgrounds[i] = Texture(BACKGROUND_TABLE[i].file);
    UseFolder("GUI\\");
    for (int i = 0; i < TILE_FRAMES; ++i)
        frameTextures[i] = Texture(FRAME_FILES[i]);
    panelTexture = Texture("board.tga");
    particleTexture = Texture("particle.tga");
    lifeBarTexture = Texture("lifebar.jpg");
    comboBarTexture = Texture("combobar.jpg");
    UseFolder("DataPack\\Vexa\\");
    tilePack = new CTilePack;
    tilePack->Load(kvPath, &packTextures);
    Trace("Tile pack loaded: %d pictures.", tilePack->count);

    records.table.Load(CScoreTable::DefaultFolder());
    Trace("Best scores in %s.", records.table.FilePath().c_str());
    board = new CGameBoard(*edition.board, BoardSeams{&sound, &effects, &screens, &records});
    control = new CGameScreenControl(board, &screens);

    desktop = new TSDesktop;
    for (int i = 0; i < BACKGROUND_COUNT; ++i)
        desktop->backgrounds[i] = backgrounds[i];
    SetDesktop(desktop);
    LoadViews();
    uiStyle = new CMacUIStyle;
    SetUIStyle(uiStyle);
    SetViewPaletteRaw(GAME_PALETTE, sizeof(GAME_PALETTE));

    if (!bSysMouse) {
        UseFolder("GUI\\");
        pointerTexture = Texture("test.png");
    }
    StartSound();

    frame.board = board;
    frame.planeMesh = &planeMesh;
    frame.frameMesh = &frameMesh;
    for (int i = 0; i < TILE_FRAMES; ++i)
        frame.frameTextures[i] = frameTextures[i];
    frame.panelTexture = panelTexture;
    frame.lifeBarTexture = lifeBarTexture;
    frame.comboBarTexture = comboBarTexture;
    frame.effects = &effects;
    frame.smallFont = smallFont;
    frame.largeFont = largeFont;
    frame.skin = uiStyle;
    Trace("Game initialized.");
}

void myApplication::LoadViews()
{
    UseFolder("");
    kvFileStream* stream = new kvFileStream(RESOURCE_FILE_NAME, "rb", true, RESOURCE_IDENTITY_TEXT);
    try {
        if (stream->SetBlock(RESOURCE_VERSION_BLOCK)) {
            DWORD header = 0;
            stream->Read(&header, sizeof(header));
        }
        backgroundDialog = new WConfig(stream);
        auto* choice = static_cast<WComboBox*>(GetSubView(backgroundDialog, COMBO_BACKGROUND));
        if (!choice || choice->Type != WTTComboBox)
            NewException("The background dialog has no background list.", KVEXCEPTION_DATAFILE);
        choice->ClearAll();
        for (int i = 0; i < BACKGROUND_COUNT; ++i)
            choice->AddString(i, BACKGROUND_TABLE[i].name);

        scoresDialog = new WDialog(stream, DIALOG_SCORES);
        scoresDialog->Id = DIALOG_SCORES;
        for (DWORD id : {TEXT_SCORES_TITLE, TEXT_SCORES_TABLE}) {
            WView* text = GetSubView(scoresDialog, id);
            if (!text || text->Type != WTTStaticText)
                NewException("The scores dialog lacks its texts.", KVEXCEPTION_DATAFILE);
        }

        mainForm = new WForm(stream);
        mainForm->starter = this;
        desktop->AddView(mainForm, int(mainForm->Placement));
        WView* difficulty = GetSubView(mainForm, COMBO_DIFFICULTY);
        if (!difficulty || difficulty->Type != WTTComboBox)
            NewException("The main form has no difficulty list.", KVEXCEPTION_DATAFILE);

        gameDialog = new WDialog(stream, DIALOG_GAME_PANEL);
        gameDialog->Id = DIALOG_GAME_PANEL;
        HideView(gameDialog);
        desktop->AddView(gameDialog, int(gameDialog->Placement));

        gameScreen = new WScreen(stream);
        gameScreen->board = board;
        gameScreen->frame = &frame;
        gameScreen->control = control;
        HideView(gameScreen);
        desktop->AddView(gameScreen, int(gameScreen->Placement));
    } catch (...) {
        delete stream;
        throw;
    }
    delete stream;
    desktop->SetActive(mainForm);
    Trace("Views loaded.");
    TraceLayout(mainForm);
    TraceLayout(gameDialog);
}

void myApplication::LoadObjs()
{
    kvResourceLoad();
    kvD3D* d3d = kvD3D::Installed();
    if (!bSysMouse && d3d && pointerTexture)
        d3d->SetMousePointer(pointerTexture->Get());
    IDirect3DTexture9* skin[SKIN_TEXTURES];
    for (int i = 0; i < SKIN_TEXTURES; ++i)
        skin[i] = skinTextures[i]->Get();
    uiStyle->SetTextures(skin);

    planeMesh = new CMeshModel;
    frameMesh = new CMeshModel;
    UseFolder("GUI\\Mesh\\");
    planeMesh->Load("plane.x");
    frameMesh->Load("frame.x");
    kvPath[0] = '\0';
    effects.LoadObjs(particleTexture);
    kvFont::CreateStateBlock(Device());
}

void myApplication::DestroyObjs()
{
    SetGUITexture(static_cast<void**>(nullptr), 0);
    if (uiStyle)
        uiStyle->SetTextures(nullptr);
    if (kvD3D* d3d = kvD3D::Installed())
        d3d->SetMousePointer(nullptr);
    kvResourceRelease();
    for (CMeshModel** mesh : {&planeMesh, &frameMesh}) {
        if (*mesh)
            (*mesh)->Destroy();
        delete *mesh;
        *mesh = nullptr;
    }
    effects.DestroyObjs();
    kvFont::ReleaseStateBlock();
}

myApplication::~myApplication()
{
    // The background dialog belongs to the desktop only while it runs.
    delete backgroundDialog;
    backgroundDialog = nullptr;
    delete scoresDialog;
    scoresDialog = nullptr;
    FreeZeb();
    StopSound();
    effects.DestroyEffects();
    delete smallFont;
    delete largeFont;
    delete tilePack;
    delete control;
    delete board;
    for (kvrTexture*& t : skinTextures)
        delete t;
    for (kvrTexture*& t : frameTextures)
        delete t;
    for (kvrTexture*& t : backgrounds)
        delete t;
    delete panelTexture;
    delete particleTexture;
    delete lifeBarTexture;
    delete comboBarTexture;
    delete pointerTexture;
    if (GameApp == this)
        GameApp = nullptr;
}

void myApplication::StartRound(int difficulty)
{
    HideView(mainForm);
    ShowView(gameDialog);
    ShowView(gameScreen);
    desktop->backgroundIndex = 1;
    board->SetDifficulty(difficulty, tilePack);
    board->StartRound();
    gameScreen->ResetClock();
    roundFrames = desktop->framesPresented;
    roundStart = fTime;
    desktop->SetActive(gameScreen);
    Trace("Round started at difficulty %d.", difficulty);
}

void myApplication::ReturnToMainForm()
{
    ShowView(mainForm);
    HideView(gameDialog);
    HideView(gameScreen);
    desktop->backgroundIndex = 0;
    effects.DestroyEffects();
    desktop->SetActive(mainForm);
    const float seconds = fTime - roundStart;
    if (seconds > 0.0f)
        Trace("The round was drawn at %.1f frames a second.",
              double(desktop->framesPresented - roundFrames) / double(seconds));
    Trace("Back to the main form.");
}

void myApplication::ShowScores(int difficulty)
{
    if (difficulty < 0 || difficulty >= DIFFICULTY_COUNT)
        return;
    char title[64];
    snprintf(title, sizeof title, "难度 %s 的五个最好成绩", DIFFICULTY_TABLE[difficulty].name);
    static_cast<WStaticText*>(GetSubView(scoresDialog, TEXT_SCORES_TITLE))->ChangeText(title);
    static_cast<WStaticText*>(GetSubView(scoresDialog, TEXT_SCORES_TABLE))
        ->ChangeText(records.table.Text(difficulty).c_str());
    Trace("Best scores of difficulty %d shown.", difficulty);
    RunModal(scoresDialog, PLACE_CENTRE_X | PLACE_CENTRE_Y, false);
    Trace("Best scores closed.");
}

void myApplication::RunBackgroundDialog()
{
    auto* choice = static_cast<WComboBox*>(GetSubView(backgroundDialog, COMBO_BACKGROUND));
    choice->SetIndex(desktop->backgroundIndex);
    RunModal(backgroundDialog, PLACE_CENTRE_X | PLACE_CENTRE_Y, false);
    const int index = choice->GetIndex();
    if (index >= 0 && index < BACKGROUND_COUNT)
        desktop->backgroundIndex = index;
    Trace("Background %d chosen.", static_cast<int>(desktop->backgroundIndex));
}
