// Pointing at board cells the way the input backend does: set MouseX/MouseY, then hand
// the board the event the run loop would.
#ifndef VEXA_TESTS_BOARDPOINTER_H
#define VEXA_TESTS_BOARDPOINTER_H

#include <GameBoard.h>
#include <kvEvent.h>

inline void PointAtCell(const BoardEdition& edition, int col, int row)
{
    MouseX = edition.boardLeft + col * edition.pitchX + edition.pitchX / 2;
    MouseY = edition.boardTop + row * edition.pitchY + edition.pitchY / 2;
}

inline VlxMessage MouseEvent(int action, int buttons)
{
    VlxMessage e = {VLX_MOUSE, MouseX, MouseY, 0, 0, action, buttons, 0};
    return e;
}

inline void MoveTo(CGameBoard& board, const BoardEdition& edition, int col, int row)
{
    PointAtCell(edition, col, row);
    VlxMessage e = MouseEvent(VLX_MOUSE_MOVE, 0);
    board.HandleBoardEvent(&e);
}

// A left click ends in a release with button bit 1; that is the event that selects.
inline void ClickAt(CGameBoard& board, const BoardEdition& edition, int col, int row)
{
    PointAtCell(edition, col, row);
    VlxMessage e = MouseEvent(VLX_MOUSE_RELEASE, 1);
    board.HandleBoardEvent(&e);
}

#endif
