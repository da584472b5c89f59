// The game's views: the desktop with its background picture, the main form, the
// background dialog and the game screen. The dialogs are built from the resource file's
// blocks; their buttons and combo boxes come with them.
#ifndef VEXA_GAMESCREENS_H
#define VEXA_GAMESCREENS_H

#include <WDesktop.h>
#include <WDialog.h>

#include <stdint.h>

class kvStream;
class CBoardFrame;
class CGameBoard;
class CGameScreenControl;
class kvrTexture;
class CTilePack;
class IRoundScreens;

// Dialog blocks of "VexaTessel.kvr".
#define DIALOG_BACKGROUND 32768
#define DIALOG_GAME_PANEL 32769
#define DIALOG_MAIN_FORM 32770
#define DIALOG_GAME_SCREEN 32771
#define DIALOG_SCORES 32772

// Views inside them.
#define COMBO_BACKGROUND 4096
#define COMBO_DIFFICULTY 4097
#define TEXT_SCORES_TITLE 4105  // in the scores dialog: the difficulty's name
#define TEXT_SCORES_TABLE 4106  // the five places

// Commands of the main form.
#define CMD_ABOUT 4096
#define CMD_START 4100
#define CMD_SCORES 4102

#define BACKGROUND_COUNT 3

// A view hidden this way is neither drawn nor given events.
void HideView(WView* view);
void ShowView(WView* view);
bool IsViewShown(const WView* view);
// Writes a dialog and every view in it, with their screen rectangles, to the debug log.
void TraceLayout(const WView* dialog);

// The root view: the background picture of the current index under everything.
class TSDesktop : public WDesktop {
public:
    int32_t backgroundIndex;              // 0 on the main form, 1 when a round starts
    DWORD framesPresented;
    kvrTexture* backgrounds[BACKGROUND_COUNT];  // the application's, not owned

    TSDesktop();
    void Draw() override;
    // Presents the frame; the first one is written to the log with the time since start.
    void Refresh() override;
    // The comment box, as wide as the comment draws: the glyph-cache font measures a
    // double-byte character as its height but advances it by its cell edge, one pixel
    // more, so the framework's box is too narrow by that much a character.
    void ChangeComment(const char* text) override;
    // The framework's comment box, with the text centred on what it draws.
    void ShowComment() override;
    // Pixels a text's first line draws wider than the writer measures it.
    static int DrawnWidthExcess(const char* text);

private:
    DWORD tracedModal;  // handle of the modal view last written to the log
    bool presented;
    int commentExcess;  // DrawnWidthExcess of the comment shown
};

// What the main form's start and scores commands open.
class IRoundStarter {
public:
    virtual ~IRoundStarter() = default;
    // Leaves the main form for a new round of the difficulty (0 easy .. 3 hardest).
    virtual void StartRound(int difficulty) = 0;
    // Shows the best scores of the difficulty in the scores dialog, modally.
    virtual void ShowScores(int difficulty) = 0;
};

// Dialog 32770: the difficulty combo box, About, best scores and start.
class WForm : public WDialog {
public:
    IRoundStarter* starter = nullptr;  // not owned

    explicit WForm(kvStream* stream);
    void HandleEvent(VlxMessage* event) override;
};

// The About box's texts.
extern const char* const ABOUT_TITLE;
extern const char* const ABOUT_TEXT;

// Dialog 32768, run modally during a round: combo box 4096 lists the backgrounds.
class WConfig : public WDialog {
public:
    explicit WConfig(kvStream* stream);
    void HandleEvent(VlxMessage* event) override;
};

// Dialog 32771, the whole client: draws the board and hands it every event it gets.
class WScreen : public WDialog {
public:
    CGameBoard* board = nullptr;
    CBoardFrame* frame = nullptr;
    CGameScreenControl* control = nullptr;

    explicit WScreen(kvStream* stream);
    void HandleEvent(VlxMessage* event) override;
    // Clears the depth buffer and draws the board frame; no dialog frame or body.
    void Draw() override;
    // The next frame's step counts from now (a round starts).
    void ResetClock();

private:
    float lastAppTime;
};

#endif
