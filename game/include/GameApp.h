// myApplication: the game's application object. Init builds everything that survives a
// device reset (fonts, texture resources, the tile pack, the board, the views, the skin,
// the palette, the sounds); LoadObjs and DestroyObjs make and free the device objects
// (texture contents, meshes, the particle system, the fonts' state block).
//
// Ownership: the framework owns the desktop (with the main form, the in-game panel and the
// game screen), the style and the GUI font; the application owns the rest, the
// background dialog included, which belongs to the desktop only while it runs.
#ifndef VEXA_GAMEAPP_H
#define VEXA_GAMEAPP_H

#include "BoardEdition.h"
#include "BoardEffects.h"
#include "BoardFrame.h"
#include "BoardSeams.h"
#include "GameScreenControl.h"
#include "GameScreens.h"
#include "ResourceIdentity.h"
#include "ScoreTable.h"
#include "SoundSystem.h"
#include "TilePack.h"

#include <kvApplication.h>

class CMacUIStyle;
class CMeshModel;
class CGameBoard;
class kvCFont;
class kvrTexture;
class WDialog;

// One row of the background table.
struct BackgroundEntry {
    char file[64];
    char name[64];
};
extern const BackgroundEntry BACKGROUND_TABLE[BACKGROUND_COUNT];

#define GAME_PALETTE_SIZE 13
extern const DWORD GAME_PALETTE[GAME_PALETTE_SIZE];


#define SKIN_TEXTURES 7

// What differs between the two programs.
struct GameEdition {
    const BoardEdition* board;
    const HudLayout* hud;
    int width, height;
    DWORD windowFlags;
};
// 900 x 675, skinned window with caption and minimise box, system pointer, redrawn
// continuously.
extern const GameEdition GAME_WINDOWED;
// 1024 x 768 full screen with the pointer sprite.
extern const GameEdition GAME_FULLSCREEN;

class myApplication;

// The board's screens: message boxes, the return to the main form, posted commands and
// the background dialog, on the application's views.
class CRoundScreens : public IRoundScreens {
public:
    explicit CRoundScreens(myApplication* application) : app(application) {}
    int ShowMessageBox(const char* title, const char* text, int flags) override;
    void ReturnToMainForm() override;
    void PostCommand(int code) override;
    void RunBackgroundDialog() override;

private:
    myApplication* app;
};

// The best scores a won round enters, kept in the player's data folder.
class CRoundRecords : public IRoundRecords {
public:
    CScoreTable table;
    int RecordWin(const CGameBoard& board) override;
};

// Registers each tile picture, so that it loads with the other textures.
class CPackTextures : public ITileTextureFactory {
public:
    kvrTexture* CreateTexture(const char* fileName) override;
    void ReleaseTexture(kvrTexture* texture) override;
};

class myApplication : public kvApplication, private IRoundStarter {
public:
    kvCFont* guiFont;
    kvCFont* smallFont;
    kvCFont* largeFont;
    CMacUIStyle* uiStyle;
    TSDesktop* desktop;
    WConfig* backgroundDialog;
    WDialog* scoresDialog;  // the application's, like the background dialog
    WForm* mainForm;
    WScreen* gameScreen;
    WDialog* gameDialog;
    CTilePack* tilePack;
    CMeshModel* planeMesh;
    CMeshModel* frameMesh;
    CGameBoard* board;
    kvrTexture* pointerTexture;
    kvrTexture* skinTextures[SKIN_TEXTURES];
    kvrTexture* frameTextures[TILE_FRAMES];
    kvrTexture* panelTexture;
    kvrTexture* backgrounds[BACKGROUND_COUNT];
    kvrTexture* particleTexture;
    kvrTexture* lifeBarTexture;
    kvrTexture* comboBarTexture;

    // The parts the board's seams lead to.
    CBoardEffects effects;
    CBoardSound sound;
    CRoundScreens screens;
    CRoundRecords records;
    CBoardFrame frame;
    CGameScreenControl* control;
    CPackTextures packTextures;
    const GameEdition& edition;

    explicit myApplication(const GameEdition& gameEdition);
    void Init() override;
    void LoadObjs() override;
    void DestroyObjs() override;
    ~myApplication() override;

    // The return to the main form after a win, a loss or a confirmed exit.
    void ReturnToMainForm();
    // The background dialog run modally; the choice becomes the desktop's background.
    void RunBackgroundDialog();

    myApplication(const myApplication&) = delete;
    myApplication& operator=(const myApplication&) = delete;

private:
    void StartRound(int difficulty) override;
    void ShowScores(int difficulty) override;
    kvrTexture* Texture(const char* name);
    void LoadViews();

    // The round's start on the frame counter and the clock, for its frame rate.
    DWORD roundFrames = 0;
    float roundStart = 0.0f;
};

// The program's application object; null before start-up.
extern myApplication* GameApp;

// The program's entry for one edition: returns the exit code.
int RunGame(HINSTANCE instance, int showCommand, const GameEdition& edition);

#endif
