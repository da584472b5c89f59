// CGameScreenControl: the game screen's keys and commands.
#include "GameScreenControl.h"

#include "BoardSeams.h"
#include "GameBoard.h"

namespace {

struct KeyCommand {
    int key;
    int command;
};

const KeyCommand KEY_COMMANDS[] = {
    {GAMEKEY_P, CMD_PAUSE},   {GAMEKEY_S, CMD_BACKGROUND}, {GAMEKEY_F, CMD_SHUFFLE},
    {GAMEKEY_H, CMD_HINT},    {GAMEKEY_X, CMD_CANCEL},
};

// "\x05" is the one-byte title code of the standard information title.
const char* const EXIT_TITLE = "\x05";
const char* const EXIT_TEXT = "确定退出游戏吗?";
const int MESSAGEBOX_YES_NO = 12;
const int ANSWER_YES = 3;

}  // namespace

CGameScreenControl::CGameScreenControl(CGameBoard* gameBoard, IRoundScreens* roundScreens)
    : board(gameBoard), screens(roundScreens)
{
}

void CGameScreenControl::HandleKeysAndCommands(VlxMessage* event)
{
    switch (event->type) {
    case VLX_KEY:
        for (const KeyCommand& k : KEY_COMMANDS)
            if (event->x == k.key) {
                screens->PostCommand(k.command);
                ClearEvent(event);
                return;
            }
        break;
    case VLX_COMMAND:
        switch (event->x) {
        case CMD_CANCEL:
        case CMD_EXIT:
            ClearEvent(event);
            AskExit();
            break;
        case CMD_SHUFFLE:
            ClearEvent(event);
            board->Deal(true);
            board->ClearMarks();
            break;
        case CMD_HINT:
            ClearEvent(event);
            board->FindHint();
            break;
        case CMD_PAUSE:
            ClearEvent(event);
            board->TogglePause();
            break;
        case CMD_BACKGROUND:
            ClearEvent(event);
            RunBackgroundDialog();
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
}

void CGameScreenControl::AskExit()
{
    if (screens->ShowMessageBox(EXIT_TITLE, EXIT_TEXT, MESSAGEBOX_YES_NO) == ANSWER_YES)
        screens->ReturnToMainForm();
}

void CGameScreenControl::RunBackgroundDialog()
{
    // Only a pause this command made is undone: a round paused before stays paused.
    bool pausedHere = !board->IsPaused();
    if (pausedHere)
        board->TogglePause();
    screens->RunBackgroundDialog();
    if (pausedHere && board->IsPaused())
        board->TogglePause();
}
