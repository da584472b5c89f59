// CGameScreenControl: the game screen's keys and commands. The screen calls
// HandleKeysAndCommands for every event after offering it to the board; keys become
// commands (posted, handled when they come back), commands act on the round.
#ifndef VEXA_GAMESCREENCONTROL_H
#define VEXA_GAMESCREENCONTROL_H

#include <kvEvent.h>

class CGameBoard;
class IRoundScreens;

// DirectInput scan codes of the game screen's keys.
#define GAMEKEY_P 25
#define GAMEKEY_S 31
#define GAMEKEY_F 33
#define GAMEKEY_H 35
#define GAMEKEY_X 45

// Game commands carried in word x of a command event.
#define CMD_CANCEL 2
#define CMD_EXIT 5
#define CMD_SHUFFLE 4097
#define CMD_HINT 4098
#define CMD_PAUSE 4099
#define CMD_BACKGROUND 4101

class CGameScreenControl {
public:
    // Pre: board and screens outlive this object.
    CGameScreenControl(CGameBoard* board, IRoundScreens* screens);

    // Handles one of the screen's keys or commands and clears the event; leaves every
    // other event as it is.
    void HandleKeysAndCommands(VlxMessage* event);

private:
    CGameBoard* board;
    IRoundScreens* screens;

    void AskExit();
    void RunBackgroundDialog();
};

#endif
